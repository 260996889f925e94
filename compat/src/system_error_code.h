// The Win32 error code that stands for a C library errno value.
#pragma once

#include <windows.h>

namespace compat {

DWORD Win32ErrorFromErrno(int error);

}  // namespace compat
