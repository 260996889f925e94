#include "registry_handles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "user_folders.h"

namespace compat {
namespace {

// The tag changes with the record layout, so that copies built from different sources never
// mistake each other's records.
constexpr uint64_t kOpenKeyTag = 0x314B4E45504F4B52ull;  // "RKOPENK1"

struct OpenKeyRecord {
  uint64_t tag;
  uint32_t access;
  uint32_t folderLength;
  char folder[1];  // folderLength characters and a terminator
};

constexpr REGSAM kGenericRead = 0x80000000;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericExecute = 0x20000000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kMaximumAllowed = 0x02000000;

REGSAM MapGenericRights(REGSAM access) {
  if (access & kGenericRead) access |= KEY_READ;
  if (access & kGenericWrite) access |= KEY_WRITE;
  if (access & kGenericExecute) access |= KEY_EXECUTE;
  if (access & (kGenericAll | kMaximumAllowed)) access |= KEY_ALL_ACCESS;
  return access;
}

// The folder of a predefined root, or null when `key` is none. Windows sign-extends the 32-bit
// root values on 64-bit systems; the zero-extended spelling is accepted as well.
const char* RootFolderName(HKEY key) {
  uintptr_t value = reinterpret_cast<uintptr_t>(key);
  uint64_t high = static_cast<uint64_t>(value) >> 32;
  if (sizeof(uintptr_t) > 4 && high != 0 && high != 0xFFFFFFFFu) {
    return nullptr;
  }
  switch (static_cast<uint32_t>(value)) {
    case 0x80000000u:
      return "HKEY_CLASSES_ROOT";
    case 0x80000001u:
      return "HKEY_CURRENT_USER";
    case 0x80000002u:
      return "HKEY_LOCAL_MACHINE";
    case 0x80000003u:
      return "HKEY_USERS";
    default:
      return nullptr;
  }
}

}  // namespace

LSTATUS DescribeKey(HKEY key, KeyDescription* description) {
  if (key == nullptr) {
    return ERROR_INVALID_HANDLE;
  }
  if (const char* root = RootFolderName(key)) {
    description->folder = RegistryFolder() + "/" + root;
    description->access = KEY_ALL_ACCESS;
    description->isRoot = true;
    return ERROR_SUCCESS;
  }
  const auto* record = reinterpret_cast<const OpenKeyRecord*>(key);
  if (record->tag != kOpenKeyTag) {
    return ERROR_INVALID_HANDLE;
  }
  description->folder.assign(record->folder, record->folderLength);
  description->access = record->access;
  description->isRoot = false;
  return ERROR_SUCCESS;
}

HKEY NewKeyHandle(const std::string& folder, REGSAM access) {
  // The C library heap is shared by every copy of the stand-ins in the process.
  void* memory = std::malloc(offsetof(OpenKeyRecord, folder) + folder.size() + 1);
  if (memory == nullptr) {
    return nullptr;
  }
  auto* record = static_cast<OpenKeyRecord*>(memory);
  record->tag = kOpenKeyTag;
  record->access = MapGenericRights(access);
  record->folderLength = static_cast<uint32_t>(folder.size());
  std::memcpy(record->folder, folder.c_str(), folder.size() + 1);
  return reinterpret_cast<HKEY>(record);
}

LSTATUS ReleaseKeyHandle(HKEY key) {
  if (key == nullptr) {
    return ERROR_INVALID_HANDLE;
  }
  if (RootFolderName(key) != nullptr) {
    return ERROR_SUCCESS;
  }
  auto* record = reinterpret_cast<OpenKeyRecord*>(key);
  if (record->tag != kOpenKeyTag) {
    return ERROR_INVALID_HANDLE;
  }
  record->tag = 0;
  std::free(record);
  return ERROR_SUCCESS;
}

}  // namespace compat
