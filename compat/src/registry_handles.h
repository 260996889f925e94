// What an HKEY stands for. A predefined root names a folder of the store; any other handle points
// to a record on the C library heap that holds the key's folder and the access it was opened with.
// The record describes the key completely: there is no table of open keys and no cache, so a key
// opened by one copy of the stand-ins works in another copy in the same process (each shared
// library links its own copy), and two copies always agree on what the files hold.
#pragma once

#include <windows.h>

#include <string>

namespace compat {

struct KeyDescription {
  std::string folder;
  REGSAM access = 0;
  bool isRoot = false;
};

// ERROR_SUCCESS and what `key` stands for, or ERROR_INVALID_HANDLE.
LSTATUS DescribeKey(HKEY key, KeyDescription* description);

// A new handle for the key in `folder`; null when memory runs out. Generic rights in `access`
// are mapped to the key rights they stand for.
HKEY NewKeyHandle(const std::string& folder, REGSAM access);

// Releases a handle made by NewKeyHandle; predefined roots need no release.
LSTATUS ReleaseKeyHandle(HKEY key);

}  // namespace compat
