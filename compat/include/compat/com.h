// Component Object Model basics: identifiers, results, IUnknown, the stream interface, task
// memory and the two calls that start COM on a thread and create objects. The only classes that
// CoCreateInstance knows are those of the XML engine stand-in, which lives in the compat_xml
// library together with CoInitialize and CoCreateInstance.
#pragma once

#include <cstring>

#include "compat/types.h"

// COM methods use the system's standard convention; on this ABI there is only one.
#define STDMETHODCALLTYPE

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

#define S_OK static_cast<HRESULT>(0L)
#define S_FALSE static_cast<HRESULT>(1L)
#define E_NOTIMPL static_cast<HRESULT>(0x80004001UL)
#define E_NOINTERFACE static_cast<HRESULT>(0x80004002UL)
#define E_POINTER static_cast<HRESULT>(0x80004003UL)
#define E_ABORT static_cast<HRESULT>(0x80004004UL)
#define E_FAIL static_cast<HRESULT>(0x80004005UL)
#define E_UNEXPECTED static_cast<HRESULT>(0x8000FFFFUL)
#define E_ACCESSDENIED static_cast<HRESULT>(0x80070005UL)
#define E_OUTOFMEMORY static_cast<HRESULT>(0x8007000EUL)
#define E_INVALIDARG static_cast<HRESULT>(0x80070057UL)
#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110UL)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154UL)
#define CO_E_NOTINITIALIZED static_cast<HRESULT>(0x800401F0UL)
#define STG_E_INVALIDFUNCTION static_cast<HRESULT>(0x80030001UL)
#define STG_E_ACCESSDENIED static_cast<HRESULT>(0x80030005UL)
#define STG_E_INVALIDHANDLE static_cast<HRESULT>(0x80030006UL)
#define STG_E_INVALIDPOINTER static_cast<HRESULT>(0x80030009UL)
#define STG_E_WRITEFAULT static_cast<HRESULT>(0x8003001DUL)
#define STG_E_READFAULT static_cast<HRESULT>(0x8003001EUL)
#define STG_E_MEDIUMFULL static_cast<HRESULT>(0x80030070UL)
#define STG_E_INVALIDFLAG static_cast<HRESULT>(0x800300FFUL)

// A Win32 error code as a result: 0 stays 0, anything else becomes a failure of the Win32 facility.
inline HRESULT HRESULT_FROM_WIN32(unsigned long code) {
  return static_cast<HRESULT>(code) <= 0
             ? static_cast<HRESULT>(code)
             : static_cast<HRESULT>((code & 0x0000FFFFUL) | (7UL << 16) | 0x80000000UL);
}

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;

extern const IID IID_IUnknown;
extern const IID IID_ISequentialStream;
extern const IID IID_IStream;

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
};
union ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  } u;
  ULONGLONG QuadPart;
};

enum STGTY { STGTY_STORAGE = 1, STGTY_STREAM = 2, STGTY_LOCKBYTES = 3, STGTY_PROPERTY = 4 };
enum STREAM_SEEK { STREAM_SEEK_SET = 0, STREAM_SEEK_CUR = 1, STREAM_SEEK_END = 2 };
enum STATFLAG { STATFLAG_DEFAULT = 0, STATFLAG_NONAME = 1, STATFLAG_NOOPEN = 2 };
#define STGM_READ 0x00000000L
#define STGM_WRITE 0x00000001L
#define STGM_READWRITE 0x00000002L

struct STATSTG {
  LPOLESTR pwcsName;  // CoTaskMemAlloc'ed; the caller frees it with CoTaskMemFree
  DWORD type;
  ULARGE_INTEGER cbSize;
  FILETIME mtime;
  FILETIME ctime;
  FILETIME atime;
  DWORD grfMode;
  DWORD grfLocksSupported;
  CLSID clsid;
  DWORD grfStateBits;
  DWORD reserved;
};

struct ISequentialStream : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) = 0;
};

struct IStream : public ISequentialStream {
  virtual HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                         ULARGE_INTEGER* newPosition) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER newSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count,
                                           ULARGE_INTEGER* read, ULARGE_INTEGER* written) = 0;
  virtual HRESULT STDMETHODCALLTYPE Commit(DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
  virtual HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count,
                                               DWORD lockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count,
                                                 DWORD lockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IStream** copy) = 0;
};

// Memory that crosses COM interfaces (names in STATSTG, for one).
LPVOID CoTaskMemAlloc(SIZE_T size);
void CoTaskMemFree(LPVOID block);

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4

// Starts COM on the calling thread: S_OK the first time, S_FALSE when it already runs there.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
// Fails with CO_E_NOTINITIALIZED on a thread that has not called CoInitialize, with
// CLASS_E_NOAGGREGATION for an outer object, and with REGDB_E_CLASSNOTREG for a class it does not
// know or a context without an in-process or local server.
HRESULT CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID iid,
                         LPVOID* object);

namespace compat {

// Test control: while a class is marked unavailable, CoCreateInstance refuses it with
// REGDB_E_CLASSNOTREG, as on a system without it. Every class is available at start.
#define COMPAT_CLASS_AVAILABILITY_CONTROL 1
void SetClassAvailable(REFCLSID classId, bool available);

}  // namespace compat
