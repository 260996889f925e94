// BSTR and VARIANT: the string layout of OLE automation (a byte length before the text, a NUL
// after it) and the variant's ownership rules.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t kPrefixBytes = sizeof(uint32_t);

char* BlockOf(BSTR text) { return reinterpret_cast<char*>(text) - kPrefixBytes; }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  const size_t textBytes = size_t(length) * sizeof(OLECHAR);
  if (textBytes > 0xFFFFFFFFu - kPrefixBytes - sizeof(OLECHAR)) {
    return nullptr;
  }
  char* block = static_cast<char*>(std::malloc(kPrefixBytes + textBytes + sizeof(OLECHAR)));
  if (block == nullptr) {
    return nullptr;
  }
  const uint32_t byteLength = static_cast<uint32_t>(textBytes);
  std::memcpy(block, &byteLength, kPrefixBytes);
  BSTR result = reinterpret_cast<BSTR>(block + kPrefixBytes);
  if (text != nullptr) {
    std::memcpy(result, text, textBytes);
  } else {
    std::memset(result, 0, textBytes);
  }
  result[length] = 0;
  return result;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) {
    return nullptr;
  }
  return SysAllocStringLen(text, static_cast<UINT>(std::char_traits<OLECHAR>::length(text)));
}

void SysFreeString(BSTR text) {
  if (text != nullptr) {
    std::free(BlockOf(text));
  }
}

UINT SysStringByteLen(BSTR text) {
  if (text == nullptr) {
    return 0;
  }
  uint32_t byteLength;
  std::memcpy(&byteLength, BlockOf(text), kPrefixBytes);
  return byteLength;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

void VariantInit(VARIANTARG* variant) { variant->vt = VT_EMPTY; }

HRESULT VariantClear(VARIANTARG* variant) {
  if (variant == nullptr) {
    return E_INVALIDARG;
  }
  if ((variant->vt & VT_BYREF) == 0) {
    switch (variant->vt) {
      case VT_EMPTY:
      case VT_NULL:
      case VT_I2:
      case VT_I4:
      case VT_R8:
      case VT_ERROR:
      case VT_BOOL:
      case VT_UI1:
        break;
      case VT_BSTR:
        SysFreeString(variant->bstrVal);
        break;
      case VT_DISPATCH:
      case VT_UNKNOWN:
        if (variant->punkVal != nullptr) {
          variant->punkVal->Release();
        }
        break;
      default:
        return DISP_E_BADVARTYPE;
    }
  }
  variant->vt = VT_EMPTY;
  return S_OK;
}
