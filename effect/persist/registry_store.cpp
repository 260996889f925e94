#include "registry_store.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "lss_block.h"
#include "shared_string.h"

namespace {

constexpr REGSAM kReadAccess = KEY_READ;
constexpr REGSAM kWriteAccess = KEY_WRITE;
static_assert(kReadAccess == 0x20019, "keys are opened for reading with KEY_READ");
static_assert(kWriteAccess == 0x20006, "keys are created for writing with KEY_WRITE");

// A null section names the key `root` itself, as an empty one does.
const char* SubkeyOf(const char* section) { return section != nullptr ? section : ""; }

// Copies the value into `variable` when it has exactly `width` bytes.
void ReadExactly(HKEY key, const char* name, void* variable, DWORD width) {
  uint8_t buffer[8];
  DWORD size = width;
  if (RegQueryValueExA(key, name, nullptr, nullptr, buffer, &size) == ERROR_SUCCESS &&
      size == width) {
    std::memcpy(variable, buffer, width);
  }
}

bool WriteBytes(HKEY key, const char* name, DWORD type, const void* bytes, DWORD size) {
  return RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(bytes), size) == ERROR_SUCCESS;
}

void ReadString(HKEY key, const char* name, SharedString& variable) {
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    return;
  }
  std::vector<char> bytes(size);
  if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &size) !=
      ERROR_SUCCESS) {
    return;
  }
  std::string_view text(bytes.data(), size);
  AssignText(variable, text.substr(0, text.find('\0')));
}

void ReadLss(HKEY key, const char* name, LssBlock& block) {
  uint32_t size = 0;
  DWORD width = sizeof size;
  const std::string sizeName = LssSizeName(name);
  if (RegQueryValueExA(key, sizeName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&size),
                       &width) != ERROR_SUCCESS ||
      width != sizeof size) {
    block.size = 0;
    block.data = nullptr;
    return;
  }
  if (AllocateLssData(block, size)) {
    DWORD stored = block.size;
    RegQueryValueExA(key, LssDataName(name).c_str(), nullptr, nullptr, block.data, &stored);
  }
}

}  // namespace

RegistryKey OpenKeyForReading(HKEY root, const char* section) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, SubkeyOf(section), 0, kReadAccess, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return RegistryKey(key);
}

RegistryKey CreateKeyForWriting(HKEY root, const char* section) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, SubkeyOf(section), 0, nullptr, REG_OPTION_NON_VOLATILE, kWriteAccess,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return RegistryKey(key);
}

void RegistryStore::Read(const char* name, ParameterType type, void* variable) {
  switch (type) {
    case ParameterType::kUInt:
    case ParameterType::kDword:
    case ParameterType::kInt:
    case ParameterType::kFloat:
      ReadExactly(key_, name, variable, 4);
      break;
    case ParameterType::kDouble:
      ReadExactly(key_, name, variable, 8);
      break;
    case ParameterType::kString:
      ReadString(key_, name, *static_cast<SharedString*>(variable));
      break;
    case ParameterType::kLss:
      ReadLss(key_, name, *static_cast<LssBlock*>(variable));
      break;
    case ParameterType::kNone:
      break;
  }
}

bool RegistryStore::Write(const char* name, ParameterType type, const void* variable) {
  switch (type) {
    case ParameterType::kUInt:
    case ParameterType::kDword:
    case ParameterType::kInt:
    case ParameterType::kFloat:
      return WriteBytes(key_, name, REG_NONE, variable, 4);
    case ParameterType::kDouble:
      return WriteBytes(key_, name, REG_NONE, variable, 8);
    case ParameterType::kString: {
      // The characters and their terminating zero; a string without storage is just the zero.
      const std::string_view text = View(*static_cast<const SharedString*>(variable));
      std::vector<char> bytes(text.begin(), text.end());
      bytes.push_back('\0');
      return WriteBytes(key_, name, REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    case ParameterType::kLss: {
      const auto& block = *static_cast<const LssBlock*>(variable);
      const uint32_t size = StoredLssSize(block);
      const bool sizeWritten =
          WriteBytes(key_, LssSizeName(name).c_str(), REG_NONE, &size, sizeof size);
      return WriteBytes(key_, LssDataName(name).c_str(), REG_BINARY, block.data, size) &&
             sizeWritten;
    }
    case ParameterType::kNone:
      break;
  }
  return true;
}
