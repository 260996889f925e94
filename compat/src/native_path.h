// Win32 spellings of paths in the Linux file system. Both separators work: a backslash stands for
// a slash, as product code builds paths the Windows way. Drive letters have no meaning here.
#pragma once

#include <string>

namespace compat {

// `path` with every backslash turned into a slash.
std::string NativePath(const char* path);

// Where a profile function looks for `fileName`: a name without any folder part names a file in
// the Windows folder (see user_folders.h), as on Windows, never one in the current folder; a null
// name is "win.ini" there. Anything with a folder part is used as it is, relative paths against
// the current folder.
std::string ProfileFilePath(const char* fileName);

// True when ProfileFilePath puts `fileName` in the Windows folder.
bool IsInWindowsFolder(const char* fileName);

}  // namespace compat
