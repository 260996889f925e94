// Private profile (INI file) functions over real files, with the results Windows gives.
//
// Files: see compat/src/profile_document.h for how a file is read and written. Every call reads
// the file afresh (nothing is cached) and every write replaces the whole file atomically (a
// temporary file in the same folder, then a rename), so a failed write leaves the old file as it
// was. A file that starts with a UTF-16 byte order mark is not supported: reads give the default
// and writes fail with ERROR_NOT_SUPPORTED.
//
// File names: a name without a folder part ("presets.ini") names a file in the Windows folder,
// as on Windows, never one in the current folder; the Windows folder is $WIN32_COMPAT_WINDOWS_DIR,
// by default ~/.local/share/win32-compat/windows. A null name is "win.ini" there. Backslashes in a
// path work as slashes. The libraries always pass full paths.
//
// Names: section and key lookups ignore ASCII letter case and the white space around the names
// given; the first match wins.
#pragma once

#include "compat/storage_errors.h"
#include "compat/types.h"

// Copies the value of `key` in `section` into `buffer` (at most `size` - 1 characters, then a
// terminator) and answers the number of characters copied: `size` - 1 when the value was cut.
// A value in matching quotes (' or ") loses them. A missing file, section or key gives
// `defaultValue` (null counts as "", trailing blanks dropped) the same way; a present but empty
// key gives "". A null `key` lists the keys of the section, a null `section` the section names,
// each terminated, with one more terminator at the end (cut lists end in two terminators and
// answer `size` - 2). `size` 0 answers 0 and leaves `buffer` alone.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR fileName);

// The value of `key` as an integer: `defaultValue` when the key is missing or empty; otherwise,
// of the first 29 characters of the value, characters up to and including blank are skipped,
// then one optional + or -, then decimal digits up to the first other character, wrapping modulo
// 2^32 ("-1" gives 4294967295, "4294967297" gives 1, "B1" gives 0).
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);

// Sets `key` in `section` to `value` (leading white space dropped), creating the file, the section
// (at the end of the file) and the key (at the end of its section) as needed; an existing key is
// replaced in place and everything else, comment lines included, is kept in order. A null `value`
// deletes the key, a null `key` deletes the section. A null `section` fails with
// ERROR_FILE_NOT_FOUND (all three null is a successful no-op: nothing is cached to flush), an
// empty `fileName` with ERROR_ACCESS_DENIED. FALSE with the reason in GetLastError on failure.
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// Writes `size` bytes as two upper-case hex digits each, followed by their sum (low 8 bits) as
// one more pair: "abacus\0" becomes 616261637573006F. A null `data` deletes the key.
BOOL WritePrivateProfileStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size,
                                LPCSTR fileName);

// Reads what WritePrivateProfileStructA wrote for the same `size`. Fails, leaving `data` alone,
// unless the value has exactly 2 x `size` + 2 characters (else ERROR_BAD_LENGTH; a missing key
// too), all hex digits, with a matching sum (else ERROR_INVALID_DATA).
BOOL GetPrivateProfileStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size, LPCSTR fileName);
