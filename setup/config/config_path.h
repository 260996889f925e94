// Where a configuration document lives. A path whose second character is ':' names the file
// itself; any other path, one that opens with two backslashes included, is taken relative to the
// suite's folder in the user's application data: %APPDATA%\Quenby\QVX7\.
#pragma once

#include <string>

// The folder below APPDATA, with its separators.
extern const char kConfigFolderSuffix[];

// The resolved path, or the empty string when `path` is relative and there is no base folder to
// put it under: APPDATA unset or empty, or APPDATA with the suffix longer than the 260-byte buffer
// it is built in (NUL included). A cut folder name or the current folder would name another file
// than the one meant, so such a document is neither read nor written. Null counts as "".
std::string ResolveConfigPath(const char* path);
