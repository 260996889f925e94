#include "ini_store.h"

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "lss_block.h"
#include "number_text.h"
#include "shared_string.h"

namespace {

// The read buffer of one entry's text: every number fits.
constexpr DWORD kEntryBufferSize = 1024;

// The entry's text read as a decimal; a missing entry reads as `current`'s own text. Texts are cut
// at kEntryBufferSize - 1 characters, far beyond any number's.
double ReadNumberText(const char* path, const char* section, const char* name, double current) {
  const NumberText fallback = FormatGeneral(current);
  char text[kEntryBufferSize];
  GetPrivateProfileStringA(section, name, fallback.c_str(), text, kEntryBufferSize, path);
  return ReadDecimal(text);
}

// The whole entry, however long: the buffer grows until the text is not cut. Missing reads as "".
void ReadString(const char* path, const char* section, const char* name, SharedString& variable) {
  std::vector<char> text(kEntryBufferSize);
  for (;;) {
    const DWORD size = static_cast<DWORD>(text.size());
    const DWORD length = GetPrivateProfileStringA(section, name, "", text.data(), size, path);
    if (length + 1 < size) {
      AssignText(variable, std::string_view(text.data(), length));
      return;
    }
    text.resize(text.size() * 2);
  }
}

void ReadLss(const char* path, const char* section, const char* name, LssBlock& block) {
  const UINT size = GetPrivateProfileIntA(section, LssSizeName(name).c_str(), 0, path);
  if (AllocateLssData(block, size)) {
    GetPrivateProfileStructA(section, LssDataName(name).c_str(), block.data, block.size, path);
  }
}

bool WriteText(const char* path, const char* section, const char* name, const char* text) {
  return WritePrivateProfileStringA(section, name, text, path) != FALSE;
}

bool WriteInteger(const char* path, const char* section, const char* name, uint32_t value) {
  char text[32];
  wsprintfA(text, "%d", static_cast<int>(value));
  return WriteText(path, section, name, text);
}

}  // namespace

void IniStore::Read(const char* name, ParameterType type, void* variable) {
  if (section_ == nullptr) {
    return;
  }
  switch (type) {
    case ParameterType::kUInt:
    case ParameterType::kDword:
    case ParameterType::kInt: {
      auto& value = *static_cast<uint32_t*>(variable);
      value = GetPrivateProfileIntA(section_, name, static_cast<INT>(value), path_);
      break;
    }
    case ParameterType::kFloat: {
      auto& value = *static_cast<float*>(variable);
      value = static_cast<float>(ReadNumberText(path_, section_, name, static_cast<double>(value)));
      break;
    }
    case ParameterType::kDouble: {
      auto& value = *static_cast<double*>(variable);
      value = ReadNumberText(path_, section_, name, value);
      break;
    }
    case ParameterType::kString:
      ReadString(path_, section_, name, *static_cast<SharedString*>(variable));
      break;
    case ParameterType::kLss:
      ReadLss(path_, section_, name, *static_cast<LssBlock*>(variable));
      break;
    case ParameterType::kNone:
      break;
  }
}

bool IniStore::Write(const char* name, ParameterType type, const void* variable) {
  if (section_ == nullptr) {
    return false;
  }
  switch (type) {
    case ParameterType::kUInt:
    case ParameterType::kDword:
    case ParameterType::kInt:
      return WriteInteger(path_, section_, name, *static_cast<const uint32_t*>(variable));
    case ParameterType::kFloat:
      WriteText(path_, section_, name, FormatGeneral(*static_cast<const float*>(variable)).c_str());
      break;
    case ParameterType::kDouble:
      return WriteText(path_, section_, name,
                       FormatGeneral(*static_cast<const double*>(variable)).c_str());
    case ParameterType::kString: {
      // The whole string, however long: it is handed over as it is, not built in a buffer.
      const auto& text = *static_cast<const SharedString*>(variable);
      return WriteText(path_, section_, name, text.chars != nullptr ? text.chars : "");
    }
    case ParameterType::kLss: {
      const auto& block = *static_cast<const LssBlock*>(variable);
      const uint32_t size = StoredLssSize(block);
      const bool sizeWritten = WriteInteger(path_, section_, LssSizeName(name).c_str(), size);
      return WritePrivateProfileStructA(section_, LssDataName(name).c_str(), block.data, size,
                                        path_) != FALSE &&
             sizeWritten;
    }
    case ParameterType::kNone:
      break;
  }
  return true;
}
