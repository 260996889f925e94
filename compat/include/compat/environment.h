// Environment variables of the calling process (getenv/setenv underneath), so that a variable set
// by one module is seen by every other module of the process.
#pragma once

#include "compat/types.h"

#ifndef ERROR_ENVVAR_NOT_FOUND
#define ERROR_ENVVAR_NOT_FOUND 203L
#endif

// Copies the value with its NUL into `buffer` when `size` holds both and answers the length
// without the NUL; when it does not fit, answers the size needed (NUL included) and leaves the
// buffer untouched. An unset variable answers 0 with ERROR_ENVVAR_NOT_FOUND; an empty one answers
// 0 and an empty buffer.
DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);
// Sets the variable, or removes it when `value` is null. A null or empty name, or one that holds
// '=', fails with ERROR_INVALID_PARAMETER.
BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value);
