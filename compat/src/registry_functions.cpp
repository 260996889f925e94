// The registry functions over the store of registry_store.h. Every call goes to the files; changes
// to a key's values are made under a lock on the key's folder and saved atomically.
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "ascii_text.h"
#include "call_guard.h"
#include "file_replace.h"
#include "registry_handles.h"
#include "registry_store.h"
#include "system_error_code.h"

using compat::KeyDescription;
using compat::RegistryValue;

namespace {

LSTATUS FromErrno(int error) { return static_cast<LSTATUS>(compat::Win32ErrorFromErrno(error)); }

// Whether the key of `description` still exists. A root exists before its folder does.
bool KeyExists(const KeyDescription& description) {
  return description.isRoot || compat::FolderExists(description.folder);
}

// The folder of the key `subKey` below `description`'s key, or the error that prevents it.
LSTATUS FindKeyFolder(const KeyDescription& description, const char* subKey, std::string* folder) {
  std::vector<std::string> names;
  if (LSTATUS status = compat::SplitSubkeyPath(subKey != nullptr ? subKey : "", &names)) {
    return status;
  }
  if (!KeyExists(description)) {
    return ERROR_KEY_DELETED;
  }
  *folder = description.folder;
  for (const std::string& name : names) {
    *folder = compat::FindSubkeyFolder(*folder, name);
    if (folder->empty()) {
      return ERROR_FILE_NOT_FOUND;
    }
  }
  return ERROR_SUCCESS;
}

std::vector<RegistryValue>::iterator FindValue(std::vector<RegistryValue>& values,
                                               const char* name) {
  const std::string_view wanted = name != nullptr ? name : "";
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (compat::EqualsIgnoringCase(it->name, wanted)) {
      return it;
    }
  }
  return values.end();
}

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Loads the values of a key that is to change, lets `change` edit them and saves them, all under
// the key's lock. `change` answers ERROR_SUCCESS to save, anything else to leave the key alone.
template <typename Change>
LSTATUS ChangeValues(const KeyDescription& description, Change change) {
  if (description.isRoot) {
    if (int error = compat::MakeFolders(description.folder, 0700)) {
      return FromErrno(error);
    }
  }
  compat::FolderLock turn(description.folder);
  if (!compat::FolderExists(description.folder)) {
    return ERROR_KEY_DELETED;
  }
  std::vector<RegistryValue> values;
  if (int error = compat::LoadValues(description.folder, &values)) {
    return FromErrno(error);
  }
  if (LSTATUS status = change(values)) {
    return status;
  }
  if (int error = compat::SaveValues(description.folder, values)) {
    // The folder went away under us: the key was deleted by someone else meanwhile.
    return error == ENOENT ? ERROR_KEY_DELETED : FromErrno(error);
  }
  return ERROR_SUCCESS;
}

// Deletes the key in `folder` and everything below it.
LSTATUS RemoveTree(const std::string& folder) {
  for (const std::string& subkey : compat::ListSubkeyFolders(folder)) {
    if (LSTATUS status = RemoveTree(subkey)) {
      return status;
    }
  }
  compat::FolderLock turn(folder);
  if (int error = compat::RemoveKeyFolder(folder)) {
    return FromErrno(error);
  }
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM access, PHKEY result) {
  if (result == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  return compat::GuardedCall<LSTATUS>(ERROR_NOT_ENOUGH_MEMORY, [&]() -> LSTATUS {
    KeyDescription description;
    if (LSTATUS status = compat::DescribeKey(key, &description)) {
      return status;
    }
    if (description.isRoot && (subKey == nullptr || subKey[0] == '\0')) {
      *result = key;
      return ERROR_SUCCESS;
    }
    *result = nullptr;
    std::string folder;
    if (LSTATUS status = FindKeyFolder(description, subKey, &folder)) {
      return status;
    }
    HKEY opened = compat::NewKeyHandle(folder, access);
    if (opened == nullptr) {
      return ERROR_NOT_ENOUGH_MEMORY;
    }
    *result = opened;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD /*reserved*/, LPSTR /*keyClass*/,
                        DWORD /*options*/, REGSAM access, LPSECURITY_ATTRIBUTES /*security*/,
                        PHKEY result, LPDWORD disposition) {
  if (result == nullptr) {
    return ERROR_BADKEY;
  }
  return compat::GuardedCall<LSTATUS>(ERROR_NOT_ENOUGH_MEMORY, [&]() -> LSTATUS {
    KeyDescription description;
    if (LSTATUS status = compat::DescribeKey(key, &description)) {
      return status;
    }
    *result = nullptr;
    std::vector<std::string> names;
    if (LSTATUS status = compat::SplitSubkeyPath(subKey != nullptr ? subKey : "", &names)) {
      return status;
    }
    if (description.isRoot) {
      if (int error = compat::MakeFolders(description.folder, 0700)) {
        return FromErrno(error);
      }
    } else if (!compat::FolderExists(description.folder)) {
      return ERROR_KEY_DELETED;
    }

    std::string folder = description.folder;
    bool created = false;
    for (const std::string& name : names) {
      std::string existing = compat::FindSubkeyFolder(folder, name);
      created = existing.empty();
      if (created) {
        existing = folder + "/" + compat::EscapeRegistryName(name);
        if (::mkdir(existing.c_str(), 0700) != 0 && errno != EEXIST) {
          return errno == ENOENT ? ERROR_KEY_DELETED : FromErrno(errno);
        }
      }
      folder = std::move(existing);
    }

    HKEY opened = compat::NewKeyHandle(folder, access);
    if (opened == nullptr) {
      return ERROR_NOT_ENOUGH_MEMORY;
    }
    *result = opened;
    if (disposition != nullptr) {
      *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    return ERROR_SUCCESS;
  });
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data,
                       DWORD size) {
  return compat::GuardedCall<LSTATUS>(ERROR_NOT_ENOUGH_MEMORY, [&]() -> LSTATUS {
    KeyDescription description;
    if (LSTATUS status = compat::DescribeKey(key, &description)) {
      return status;
    }
    if ((description.access & KEY_SET_VALUE) == 0) {
      return ERROR_ACCESS_DENIED;
    }
    if (data == nullptr && size != 0) {
      return ERROR_NOACCESS;
    }
    std::string bytes(reinterpret_cast<const char*>(data), data != nullptr ? size : 0);
    if (IsStringType(type) && !bytes.empty() && bytes.back() != '\0') {
      bytes += '\0';
    }
    return ChangeValues(description, [&](std::vector<RegistryValue>& values) -> LSTATUS {
      auto existing = FindValue(values, valueName);
      if (existing == values.end()) {
        values.push_back(RegistryValue{valueName != nullptr ? valueName : "", type, bytes});
      } else {
        existing->type = type;
        existing->data = bytes;
      }
      return ERROR_SUCCESS;
    });
  });
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
  return compat::GuardedCall<LSTATUS>(ERROR_NOT_ENOUGH_MEMORY, [&]() -> LSTATUS {
    KeyDescription description;
    if (LSTATUS status = compat::DescribeKey(key, &description)) {
      return status;
    }
    if (reserved != nullptr || (data != nullptr && size == nullptr)) {
      return ERROR_INVALID_PARAMETER;
    }
    if ((description.access & KEY_QUERY_VALUE) == 0) {
      return ERROR_ACCESS_DENIED;
    }
    if (!KeyExists(description)) {
      return ERROR_KEY_DELETED;
    }
    std::vector<RegistryValue> values;
    if (int error = compat::LoadValues(description.folder, &values)) {
      return FromErrno(error);
    }
    auto found = FindValue(values, valueName);
    if (found == values.end()) {
      if (data == nullptr && size != nullptr) {
        *size = 0;
      }
      return ERROR_FILE_NOT_FOUND;
    }
    const DWORD needed = static_cast<DWORD>(found->data.size());
    if (type != nullptr) {
      *type = found->type;
    }
    if (data != nullptr) {
      if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
      }
      std::memcpy(data, found->data.data(), needed);
    }
    if (size != nullptr) {
      *size = needed;
    }
    return ERROR_SUCCESS;
  });
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName) {
  return compat::GuardedCall<LSTATUS>(ERROR_NOT_ENOUGH_MEMORY, [&]() -> LSTATUS {
    KeyDescription description;
    if (LSTATUS status = compat::DescribeKey(key, &description)) {
      return status;
    }
    if ((description.access & KEY_SET_VALUE) == 0) {
      return ERROR_ACCESS_DENIED;
    }
    if (!KeyExists(description)) {
      return ERROR_KEY_DELETED;
    }
    return ChangeValues(description, [&](std::vector<RegistryValue>& values) -> LSTATUS {
      auto found = FindValue(values, valueName);
      if (found == values.end()) {
        return ERROR_FILE_NOT_FOUND;
      }
      values.erase(found);
      return ERROR_SUCCESS;
    });
  });
}

LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey) {
  if (subKey == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  return compat::GuardedCall<LSTATUS>(ERROR_NOT_ENOUGH_MEMORY, [&]() -> LSTATUS {
    KeyDescription description;
    if (LSTATUS status = compat::DescribeKey(key, &description)) {
      return status;
    }
    std::string folder;
    if (LSTATUS status = FindKeyFolder(description, subKey, &folder)) {
      return status;
    }
    if (folder == description.folder && description.isRoot) {
      return ERROR_ACCESS_DENIED;  // the roots cannot be deleted
    }
    if (!compat::ListSubkeyFolders(folder).empty()) {
      return ERROR_ACCESS_DENIED;
    }
    compat::FolderLock turn(folder);
    if (int error = compat::RemoveKeyFolder(folder)) {
      return error == ENOENT ? ERROR_KEY_DELETED : FromErrno(error);
    }
    return ERROR_SUCCESS;
  });
}

LSTATUS RegDeleteTreeA(HKEY key, LPCSTR subKey) {
  return compat::GuardedCall<LSTATUS>(ERROR_NOT_ENOUGH_MEMORY, [&]() -> LSTATUS {
    KeyDescription description;
    if (LSTATUS status = compat::DescribeKey(key, &description)) {
      return status;
    }
    if (subKey != nullptr) {
      std::string folder;
      if (LSTATUS status = FindKeyFolder(description, subKey, &folder)) {
        return status;
      }
      if (!description.isRoot || folder != description.folder) {
        return RemoveTree(folder);
      }
    }
    // A null subkey empties the key and keeps it (and so does "" for a root, which stays).
    if (!KeyExists(description)) {
      return ERROR_KEY_DELETED;
    }
    for (const std::string& subkey : compat::ListSubkeyFolders(description.folder)) {
      if (LSTATUS status = RemoveTree(subkey)) {
        return status;
      }
    }
    if (!compat::FolderExists(description.folder)) {
      return ERROR_SUCCESS;  // a root that was never written to
    }
    return ChangeValues(description, [](std::vector<RegistryValue>& values) -> LSTATUS {
      values.clear();
      return ERROR_SUCCESS;
    });
  });
}

LSTATUS RegCloseKey(HKEY key) { return compat::ReleaseKeyHandle(key); }
