// Loading shared libraries and resolving their exports by name (dlopen underneath).
#pragma once

#include "compat/types.h"

HMODULE LoadLibraryA(LPCSTR path);
BOOL FreeLibrary(HMODULE module);
// Shared objects have no ordinals: a name given as an ordinal (MAKEINTRESOURCEA) fails with
// ERROR_NOT_SUPPORTED.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
