// The URL the SAX reader is given for a file: "file:///" followed by the path with every "\"
// turned into "/", in UTF-16 converted from the ANSI code page.
#pragma once

#include <windows.h>

// The URL's buffer, in UTF-16 units: at most 511 of them, then the NUL.
constexpr int kFileUrlUnits = 512;

// False, with `url` all zeros, when the URL does not fit: a cut URL would name another file, so
// such a path is not read at all. A null path counts as "".
bool BuildFileUrl(const char* path, WCHAR (&url)[kFileUrlUnits]);
