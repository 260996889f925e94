// OLE automation strings (BSTR) and variants, and IDispatch, the base of automation interfaces.
// A BSTR points at its first UTF-16 unit; the four bytes before it hold its length in bytes and a
// NUL unit follows its last one, so it can also be read as an ordinary terminated string.
#pragma once

#include "compat/com.h"

typedef OLECHAR* BSTR;
typedef short VARIANT_BOOL;
#define VARIANT_TRUE static_cast<VARIANT_BOOL>(-1)
#define VARIANT_FALSE static_cast<VARIANT_BOOL>(0)

// A string of `length` units copied from `text` (left unset when `text` is null), NUL added.
// Null when memory runs out.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// A copy of a NUL-terminated string; null for a null string.
BSTR SysAllocString(const OLECHAR* text);
// Accepts null.
void SysFreeString(BSTR text);
// The length in units (0 for null), embedded NULs included.
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

typedef unsigned short VARTYPE;
enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R8 = 5,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_UNKNOWN = 13,
  VT_UI1 = 17,
  VT_BYREF = 0x4000
};

typedef LONG DISPID;
typedef DWORD LCID;
struct DISPPARAMS;
struct EXCEPINFO;
struct ITypeInfo;
struct IDispatch;

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONG lVal;
    BYTE bVal;
    short iVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    HRESULT scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    void* byref;
  };
};
typedef VARIANT VARIANTARG;

#define V_VT(v) ((v)->vt)
#define V_BSTR(v) ((v)->bstrVal)
#define V_BOOL(v) ((v)->boolVal)
#define V_UNKNOWN(v) ((v)->punkVal)
#define V_DISPATCH(v) ((v)->pdispVal)

#define DISP_E_BADVARTYPE static_cast<HRESULT>(0x80020008UL)

// Marks the variant empty; the rest is left as it was.
void VariantInit(VARIANTARG* variant);
// Frees what the variant owns (a BSTR, a reference to an object) and marks it empty. A type it
// does not know fails with DISP_E_BADVARTYPE and leaves it untouched.
HRESULT VariantClear(VARIANTARG* variant);

struct IDispatch : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                                  LCID locale, DISPID* ids) = 0;
  virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                           DISPPARAMS* parameters, VARIANT* result,
                                           EXCEPINFO* exception, UINT* argumentError) = 0;
};

extern const IID IID_IDispatch;
