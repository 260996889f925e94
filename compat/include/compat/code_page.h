// Conversion between 8-bit text and UTF-16. The ANSI code page here is UTF-8 (65001): CP_ACP,
// CP_THREAD_ACP and CP_OEMCP all convert as CP_UTF8 does on Windows.
//
// As on Windows: an ill-formed UTF-8 sequence becomes one U+FFFD per maximal well-formed prefix
// (or per stray byte), a lone surrogate becomes U+FFFD when encoding, and with MB_ERR_INVALID_CHARS
// or WC_ERR_INVALID_CHARS either fails with ERROR_NO_UNICODE_TRANSLATION instead. A length of -1
// means "up to and including the NUL"; an output size of 0 asks for the size needed. Results count
// units written (or needed); 0 means failure, the reason in GetLastError: ERROR_INVALID_PARAMETER
// (no input, input length 0, overlapping buffers, a default character for UTF-8),
// ERROR_INVALID_FLAGS, ERROR_INSUFFICIENT_BUFFER (the buffer then holds what fitted).
#pragma once

#include "compat/errors.h"
#include "compat/types.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#define MB_ERR_INVALID_CHARS 0x00000008UL
#define WC_ERR_INVALID_CHARS 0x00000080UL
#define WC_NO_BEST_FIT_CHARS 0x00000400UL

// Spelled exactly as in the system headers, so that an identical definition elsewhere is harmless.
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L

// 65001.
UINT GetACP();
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR output,
                        int outputSize);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR output,
                        int outputSize, LPCSTR defaultChar, LPBOOL usedDefaultChar);
