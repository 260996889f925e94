// The files behind the registry: one folder per key, named after the key, and in it a ".values"
// file with one line per value:
//
//   <name> <type> <data>
//
// <name> is the value name with "%", "/", blank, control characters and a leading "." written
// as %XX (the empty name, the key's default value, is an empty field), <type> the type in
// decimal and <data> the bytes as lower-case hex digit pairs. Key folder names use the same
// escapes, so no key folder starts with "." and the store's own files never clash with keys.
// Lines that do not have this form are ignored.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace compat {

struct RegistryValue {
  std::string name;
  DWORD type = REG_NONE;
  std::string data;
};

std::string EscapeRegistryName(std::string_view name);
std::string UnescapeRegistryName(std::string_view escaped);

// Splits a subkey path at its backslashes into key names. A path that starts with a backslash
// answers ERROR_BAD_PATHNAME; empty names (a trailing backslash, doubled ones) are skipped; a name
// longer than 255 characters answers ERROR_INVALID_PARAMETER.
LSTATUS SplitSubkeyPath(std::string_view path, std::vector<std::string>* names);

// The folder of the subkey `name` of the key whose folder is `parent`, found regardless of letter
// case; empty when the key has no such subkey.
std::string FindSubkeyFolder(const std::string& parent, std::string_view name);

// The folders of the direct subkeys of the key in `folder`.
std::vector<std::string> ListSubkeyFolders(const std::string& folder);

bool FolderExists(const std::string& folder);

// Reads the values of the key in `folder` (none when it has no values file). Returns 0 or errno.
int LoadValues(const std::string& folder, std::vector<RegistryValue>* values);
// Replaces the values file of the key in `folder` atomically. Returns 0 or errno.
int SaveValues(const std::string& folder, const std::vector<RegistryValue>& values);

// Removes the folder of a key that has no subkeys, with its values. Returns 0 or errno.
int RemoveKeyFolder(const std::string& folder);

}  // namespace compat
