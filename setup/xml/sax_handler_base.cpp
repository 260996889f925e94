#include "xml/sax_handler_base.h"

#include <cstring>
#include <new>

#include "xml/xml_engine.h"

SaxHandlerBase::SaxHandlerBase() : buffer_(new char[kInitialBufferSize]) { buffer_[0] = '\0'; }

SaxHandlerBase::~SaxHandlerBase() { delete[] buffer_; }

HRESULT SaxHandlerBase::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualGUID(iid, kContentHandlerInterfaceId)) {
    *object = static_cast<ISAXContentHandler*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG SaxHandlerBase::AddRef() { return static_cast<ULONG>(++references_); }

ULONG SaxHandlerBase::Release() {
  const LONG left = --references_;
  if (left == 0) {
    delete this;
  }
  return static_cast<ULONG>(left);
}

HRESULT SaxHandlerBase::putDocumentLocator(ISAXLocator*) { return S_OK; }
HRESULT SaxHandlerBase::startDocument() { return S_OK; }
HRESULT SaxHandlerBase::endDocument() { return S_OK; }
HRESULT SaxHandlerBase::startPrefixMapping(const WCHAR*, int, const WCHAR*, int) { return S_OK; }
HRESULT SaxHandlerBase::endPrefixMapping(const WCHAR*, int) { return S_OK; }

HRESULT SaxHandlerBase::startElement(const WCHAR*, int, const WCHAR* localName, int localNameLength,
                                     const WCHAR*, int, ISAXAttributes*) {
  return CallHook(localName, localNameLength,
                  [this](const char* name) { return OnStartElement(name); });
}

HRESULT SaxHandlerBase::endElement(const WCHAR*, int, const WCHAR* localName, int localNameLength,
                                   const WCHAR*, int) {
  return CallHook(localName, localNameLength,
                  [this](const char* name) { return OnEndElement(name); });
}

HRESULT SaxHandlerBase::characters(const WCHAR* text, int length) {
  return CallHook(text, length, [this](const char* chunk) { return OnCharacters(chunk); });
}

HRESULT SaxHandlerBase::ignorableWhitespace(const WCHAR*, int) { return S_OK; }
HRESULT SaxHandlerBase::processingInstruction(const WCHAR*, int, const WCHAR*, int) { return S_OK; }
HRESULT SaxHandlerBase::skippedEntity(const WCHAR*, int) { return S_OK; }

HRESULT SaxHandlerBase::error(ISAXLocator*, const WCHAR*, HRESULT) { return S_OK; }
HRESULT SaxHandlerBase::fatalError(ISAXLocator*, const WCHAR*, HRESULT) { return S_OK; }
HRESULT SaxHandlerBase::ignorableWarning(ISAXLocator*, const WCHAR*, HRESULT) { return S_OK; }

int SaxHandlerBase::OnCharacters(const char*) { return 0; }
int SaxHandlerBase::OnStartElement(const char*) { return 0; }
int SaxHandlerBase::OnEndElement(const char*) { return 0; }

bool SaxHandlerBase::Convert(const WCHAR* text, int length) {
  // The engine's unit count is used: its strings are not NUL-terminated.
  const int needed =
      text != nullptr && length > 0
          ? WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr)
          : 0;
  if (needed <= 0) {
    buffer_[0] = '\0';
    return true;
  }
  const DWORD size = static_cast<DWORD>(needed) + 1;
  if (size > capacity_) {
    char* grown = new (std::nothrow) char[size];
    if (grown == nullptr) {
      return false;
    }
    delete[] buffer_;
    buffer_ = grown;
    capacity_ = size;
  }
  const int converted =
      WideCharToMultiByte(CP_ACP, 0, text, length, buffer_, needed, nullptr, nullptr);
  buffer_[converted > 0 ? converted : 0] = '\0';
  return true;
}

// No exception may unwind into the engine: a hook that throws stops the parse, as does a buffer
// that cannot grow.
template <typename Hook>
HRESULT SaxHandlerBase::CallHook(const WCHAR* text, int length, Hook hook) {
  try {
    if (!Convert(text, length)) {
      return E_OUTOFMEMORY;
    }
    return static_cast<HRESULT>(hook(buffer_));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}
