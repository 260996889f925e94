// Files through kernel handles. Paths are 8-bit strings in the ANSI code page (UTF-8 here); "\"
// separates folders as "/" does, so paths built the Windows way name the same files. A HANDLE
// from CreateFileA is closed with CloseHandle, which serves every kind of kernel handle.
//
// What differs from Windows: sharing modes are accepted and not enforced (Linux has no mandatory
// locks), and file attributes and flags other than the access, the disposition and the
// folder check are ignored.
#pragma once

#include <cstddef>

#include "compat/errors.h"
#include "compat/types.h"

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

#define GENERIC_READ 0x80000000UL
#define GENERIC_WRITE 0x40000000UL
#define FILE_SHARE_READ 0x00000001UL
#define FILE_SHARE_WRITE 0x00000002UL
#define FILE_SHARE_DELETE 0x00000004UL
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_NORMAL 0x00000080UL
#define INVALID_FILE_SIZE 0xFFFFFFFFUL
#define MOVEFILE_REPLACE_EXISTING 0x00000001UL
#define MOVEFILE_COPY_ALLOWED 0x00000002UL
#define MOVEFILE_WRITE_THROUGH 0x00000008UL

// Spelled exactly as in the system headers, so that an identical definition elsewhere is harmless.
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_HANDLE_EOF 38L
#define ERROR_HANDLE_DISK_FULL 39L
#define ERROR_FILE_EXISTS 80L
#define ERROR_DISK_FULL 112L
#define ERROR_DIRECTORY 267L

// A folder cannot be opened as a file (ERROR_ACCESS_DENIED, as on Windows without backup
// semantics). CREATE_ALWAYS and OPEN_ALWAYS on an existing file succeed with ERROR_ALREADY_EXISTS
// as the thread's last error. Fails with INVALID_HANDLE_VALUE.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
// Reads up to `count` bytes; at the end of the file it succeeds with 0 bytes read.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped);
// Writes all `count` bytes or fails; `written` then tells how many reached the file. A full disk
// fails with ERROR_DISK_FULL.
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped);
// Waits until what was written is on the disk.
BOOL FlushFileBuffers(HANDLE file);
// The low 32 bits of the size, the high ones in `sizeHigh` when given. INVALID_FILE_SIZE with a
// last error on failure (also a valid low half of a large file: check GetLastError).
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
BOOL DeleteFileA(LPCSTR path);
// Renames within one file system. An existing target fails with ERROR_ALREADY_EXISTS unless
// MOVEFILE_REPLACE_EXISTING is given; MOVEFILE_WRITE_THROUGH also puts the rename on the disk.
BOOL MoveFileExA(LPCSTR existingPath, LPCSTR newPath, DWORD flags);
// Closes any kernel handle; closing an unknown or already closed one fails with
// ERROR_INVALID_HANDLE.
BOOL CloseHandle(HANDLE handle);

namespace compat {

// Test control: after `bytes` more bytes have been written through WriteFile (to any file), every
// further write fails with ERROR_DISK_FULL, as on a full disk, until ClearWriteFailure.
#define COMPAT_WRITE_FAILURE_CONTROL 1
void FailWritesAfter(std::size_t bytes);
void ClearWriteFailure();

}  // namespace compat
