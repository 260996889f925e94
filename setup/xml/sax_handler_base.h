// The callback object the SAX reader drives: the base of every document read from XML. It turns
// element names (local names: prefixes and namespaces are dropped) and text chunks from UTF-16
// into 8-bit strings in the ANSI code page and hands them to three hooks, whose result goes back
// to the reader: 0 lets the parse go on, anything else stops it.
//
// A document creates the object (on the stack or the heap) holding the first reference and
// destroys it directly; the reader's references come and go during a parse, so the count never
// falls to 0 while the creator holds its own. An object serves any number of parses.
#pragma once

#include <msxml2.h>
#include <windows.h>

class SaxHandlerBase : public ISAXContentHandler, public ISAXErrorHandler {
 public:
  // The size the conversion buffer starts with, in bytes.
  static constexpr DWORD kInitialBufferSize = 256;

  SaxHandlerBase();
  SaxHandlerBase(const SaxHandlerBase&) = delete;
  SaxHandlerBase& operator=(const SaxHandlerBase&) = delete;

  // The only interface answered is the content handler's, through either interface pointer.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  // At 0 the object destroys itself.
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE putDocumentLocator(ISAXLocator* locator) override;
  HRESULT STDMETHODCALLTYPE startDocument() override;
  HRESULT STDMETHODCALLTYPE endDocument() override;
  HRESULT STDMETHODCALLTYPE startPrefixMapping(const WCHAR* prefix, int prefixLength,
                                               const WCHAR* uri, int uriLength) override;
  HRESULT STDMETHODCALLTYPE endPrefixMapping(const WCHAR* prefix, int prefixLength) override;
  HRESULT STDMETHODCALLTYPE startElement(const WCHAR* namespaceUri, int namespaceUriLength,
                                         const WCHAR* localName, int localNameLength,
                                         const WCHAR* qName, int qNameLength,
                                         ISAXAttributes* attributes) override;
  HRESULT STDMETHODCALLTYPE endElement(const WCHAR* namespaceUri, int namespaceUriLength,
                                       const WCHAR* localName, int localNameLength,
                                       const WCHAR* qName, int qNameLength) override;
  HRESULT STDMETHODCALLTYPE characters(const WCHAR* text, int length) override;
  HRESULT STDMETHODCALLTYPE ignorableWhitespace(const WCHAR* text, int length) override;
  HRESULT STDMETHODCALLTYPE processingInstruction(const WCHAR* target, int targetLength,
                                                  const WCHAR* data, int dataLength) override;
  HRESULT STDMETHODCALLTYPE skippedEntity(const WCHAR* name, int nameLength) override;

  // A malformed document shows only as the failed parse: these do nothing.
  HRESULT STDMETHODCALLTYPE error(ISAXLocator* locator, const WCHAR* message,
                                  HRESULT code) override;
  HRESULT STDMETHODCALLTYPE fatalError(ISAXLocator* locator, const WCHAR* message,
                                       HRESULT code) override;
  HRESULT STDMETHODCALLTYPE ignorableWarning(ISAXLocator* locator, const WCHAR* message,
                                             HRESULT code) override;

  virtual ~SaxHandlerBase();

  // What the reader is given (putContentHandler, putErrorHandler).
  ISAXContentHandler* contentHandler() { return this; }
  ISAXErrorHandler* errorHandler() { return this; }

  // The conversion buffer's size in bytes: 256 at first, then the longest converted string plus
  // its NUL; it never shrinks.
  DWORD bufferCapacity() const { return capacity_; }

 protected:
  // Each hook gets a NUL-terminated string that lives in the conversion buffer and is valid only
  // during the call. A name or text that does not convert arrives as "". One element's text may
  // arrive in several chunks. The base versions return 0.
  virtual int OnCharacters(const char* text);
  virtual int OnStartElement(const char* name);
  virtual int OnEndElement(const char* name);

 private:
  // Converts into the buffer, growing it as needed; false when the buffer cannot grow.
  bool Convert(const WCHAR* text, int length);
  template <typename Hook>
  HRESULT CallHook(const WCHAR* text, int length, Hook hook);

  LONG references_ = 1;
  char* buffer_;
  DWORD capacity_ = kInitialBufferSize;
};
