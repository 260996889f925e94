// wsprintfA: the Windows formatter, without floating point.
//
// Conversions %d %i %u %x %X %c %s %p and %%, with the prefixes h (narrow) and l (32 bits for
// numbers, UTF-16 for %c and %s; %C and %S are the UTF-16 forms, written out in UTF-8, the ANSI
// code page here), the flags - (left-align), 0 (zero-fill) and # (0x or 0X before hex), a width
// and a precision (the most characters of a string, the fewest digits of a number). Numbers are
// 32-bit as on Windows, also with l. A null string prints "(null)". Any other character after %
// is printed as it is. There is no * width and no floating point.
//
// Output is limited to 1024 bytes, the terminator included: longer output is cut after 1023
// characters, terminated, and the result is the number of characters stored (1023).
#pragma once

#include <cstdarg>

#include "compat/types.h"

int wsprintfA(LPSTR buffer, LPCSTR format, ...);
int wvsprintfA(LPSTR buffer, LPCSTR format, va_list arguments);
