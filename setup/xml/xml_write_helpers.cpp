#include "xml/xml_write_helpers.h"

#include "unique_resource.h"

namespace {

// `text` as a system string; `length` gets its length in UTF-16 units without the NUL.
UniqueBstr ToSystemString(const char* text, int* length) {
  const char* source = text != nullptr ? text : "";
  const int units = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);  // NUL included
  *length = 0;
  if (units <= 0) {
    return UniqueBstr(SysAllocStringLen(nullptr, 0));
  }
  UniqueBstr converted(SysAllocStringLen(nullptr, static_cast<UINT>(units - 1)));
  if (converted) {
    MultiByteToWideChar(CP_ACP, 0, source, -1, converted.get(), units);
    *length = units - 1;
  }
  return converted;
}

HRESULT FirstFailure(HRESULT earlier, HRESULT later) { return FAILED(earlier) ? earlier : later; }

}  // namespace

HRESULT WriteElement(ISAXContentHandler* handler, const char* name, bool start) {
  int length = 0;
  UniqueBstr qualifiedName = ToSystemString(name, &length);
  if (!qualifiedName) {
    return E_OUTOFMEMORY;
  }
  static const WCHAR kEmpty[] = {0};
  if (start) {
    return handler->startElement(kEmpty, 0, kEmpty, 0, qualifiedName.get(), length, nullptr);
  }
  return handler->endElement(kEmpty, 0, kEmpty, 0, qualifiedName.get(), length);
}

HRESULT WriteCharacters(ISAXContentHandler* handler, const char* text) {
  int length = 0;
  UniqueBstr converted = ToSystemString(text, &length);
  if (!converted) {
    return E_OUTOFMEMORY;
  }
  return handler->characters(converted.get(), length);
}

HRESULT WriteTextElement(ISAXContentHandler* handler, const char* name, const char* text) {
  HRESULT result = WriteElement(handler, name, true);
  if (text != nullptr) {
    result = FirstFailure(result, WriteCharacters(handler, text));
  }
  return FirstFailure(result, WriteElement(handler, name, false));
}
