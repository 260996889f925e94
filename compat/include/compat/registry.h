// The registry: keys with typed values, kept in files under a folder of the user's choice.
//
// Store: $WIN32_COMPAT_REGISTRY_DIR, by default ~/.local/share/win32-compat/registry. Each key is
// a folder (HKEY_CURRENT_USER\Software\Maker is <store>/HKEY_CURRENT_USER/Software/Maker) and its
// values live in a file ".values" inside it, one line per value. Every call reads and writes the
// files (nothing is cached) and every change replaces the values file atomically, so several users
// of the store, in one process or many, always see one another's writes and a failed write leaves
// the old values in place.
//
// Handles: an HKEY is either a predefined root or a self-describing record (the key's folder and
// the access it was opened with) that RegCloseKey releases. A key opened by one copy of these
// functions works in another copy in the same process (each shared library links its own).
//
// Results as on Windows: key and value names ignore ASCII letter case; a subkey path must not start
// with a backslash (ERROR_BAD_PATHNAME), a trailing one is fine; missing keys and values answer
// ERROR_FILE_NOT_FOUND; a value larger than the buffer answers ERROR_MORE_DATA with the size
// needed and the buffer untouched; values come back with the type they were stored with, never
// converted; a key opened without KEY_SET_VALUE cannot be written, one without KEY_QUERY_VALUE
// cannot be read (ERROR_ACCESS_DENIED); the access of the parent handle does not matter for
// opening or creating subkeys.
//
// Differences: HKEY_CLASSES_ROOT is a key of its own, not a view of the Classes keys;
// REG_OPTION_VOLATILE keys last like any other; after a key is deleted, handles to it answer
// ERROR_KEY_DELETED until a key of the same name is created again, which they then reach.
#pragma once

#include "compat/security.h"
#include "compat/storage_errors.h"
#include "compat/types.h"

// The predefined roots, with the values Windows gives them (sign-extended to pointer width).
#define COMPAT_PREDEFINED_KEY(value) \
  (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(value)))))
#define HKEY_CLASSES_ROOT COMPAT_PREDEFINED_KEY(0x80000000u)
#define HKEY_CURRENT_USER COMPAT_PREDEFINED_KEY(0x80000001u)
#define HKEY_LOCAL_MACHINE COMPAT_PREDEFINED_KEY(0x80000002u)
#define HKEY_USERS COMPAT_PREDEFINED_KEY(0x80000003u)

// Value types.
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_QWORD 11
#define REG_QWORD_LITTLE_ENDIAN 11

// Access rights of a key handle.
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ 0x20019
#define KEY_EXECUTE 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

// Options and dispositions of RegCreateKeyExA.
#define REG_OPTION_RESERVED 0x0000
#define REG_OPTION_NON_VOLATILE 0x0000
#define REG_OPTION_VOLATILE 0x0001
#define REG_CREATED_NEW_KEY 0x0001
#define REG_OPENED_EXISTING_KEY 0x0002

// Opens an existing key. A null or empty `subKey` opens `key` again (a predefined root answers
// itself). On failure `*result` is null (ERROR_FILE_NOT_FOUND for a missing key).
LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);

// Opens `subKey`, creating it and any missing keys on its path first. `*disposition`, when asked
// for, tells REG_CREATED_NEW_KEY from REG_OPENED_EXISTING_KEY. A null `result` answers
// ERROR_BADKEY.
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                        REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                        LPDWORD disposition);

// Stores `size` bytes of `data` with `type` under `valueName` (null or "" is the default value).
// String types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are stored with a terminator when `data`
// lacks one. Null `data` with a nonzero `size` answers ERROR_NOACCESS.
LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);

// Answers the stored type and size, and the bytes when `data` is given. A missing value answers
// ERROR_FILE_NOT_FOUND; `*size` is then left alone, or set to 0 when `data` is null.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size);

LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName);

// Deletes `subKey` ("" deletes `key` itself) with its values. A key that has subkeys is not
// deleted (ERROR_ACCESS_DENIED); a null `subKey` answers ERROR_INVALID_PARAMETER.
LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey);

// Deletes `subKey` with everything below it; a null `subKey` empties `key` (its values and
// subkeys) and keeps it.
LSTATUS RegDeleteTreeA(HKEY key, LPCSTR subKey);

LSTATUS RegCloseKey(HKEY key);
