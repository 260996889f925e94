// Win32 base types with the widths they have on 32-bit Windows.
#pragma once

#include <cstddef>
#include <cstdint>

// Calling-convention keywords exist only on 32-bit Windows; the x86-64 System V ABI has one
// convention.
#define __cdecl
#define __stdcall
#define __thiscall
#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef ULONG_PTR SIZE_T;
typedef LONG HRESULT;
typedef LONG LSTATUS;
typedef DWORD REGSAM;
typedef BYTE* LPBYTE;
typedef const BYTE* LPCBYTE;
typedef DWORD* LPDWORD;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* HANDLE;
typedef HANDLE* PHANDLE;
typedef BOOL* LPBOOL;

// A point in time in 100-nanosecond steps since 1601-01-01 (UTC), split in two halves.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
typedef FILETIME* PFILETIME;
typedef FILETIME* LPFILETIME;

// UTF-16 code units: wchar_t is 16 bits on Windows, char16_t serves here.
typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;

#define DECLARE_COMPAT_HANDLE(name) \
  struct name##__ {                 \
    int unused;                     \
  };                                \
  typedef struct name##__* name
DECLARE_COMPAT_HANDLE(HKEY);
DECLARE_COMPAT_HANDLE(HWND);
DECLARE_COMPAT_HANDLE(HINSTANCE);
DECLARE_COMPAT_HANDLE(HICON);
typedef HINSTANCE HMODULE;
typedef HKEY* PHKEY;

typedef INT_PTR (*FARPROC)();

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define MAX_PATH 260
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
