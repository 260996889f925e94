// The interfaces of the system XML engine that the setup library drives: the SAX reader with the
// handlers it calls, and the XML writer. Method order matches the system's interface tables; the
// objects come from CoCreateInstance (see com.h). Strings are UTF-16 with explicit lengths.
#pragma once

#include "compat/automation.h"

struct ISAXEntityResolver;
struct ISAXDTDHandler;

struct ISAXLocator : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE getColumnNumber(int* column) = 0;
  virtual HRESULT STDMETHODCALLTYPE getLineNumber(int* line) = 0;
  virtual HRESULT STDMETHODCALLTYPE getPublicId(const WCHAR** publicId) = 0;
  virtual HRESULT STDMETHODCALLTYPE getSystemId(const WCHAR** systemId) = 0;
};

struct ISAXAttributes : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE getLength(int* length) = 0;
  virtual HRESULT STDMETHODCALLTYPE getURI(int index, const WCHAR** uri, int* uriLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getLocalName(int index, const WCHAR** localName,
                                                 int* localNameLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getQName(int index, const WCHAR** qName, int* qNameLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getName(int index, const WCHAR** uri, int* uriLength,
                                            const WCHAR** localName, int* localNameLength,
                                            const WCHAR** qName, int* qNameLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getIndexFromName(const WCHAR* uri, int uriLength,
                                                     const WCHAR* localName, int localNameLength,
                                                     int* index) = 0;
  virtual HRESULT STDMETHODCALLTYPE getIndexFromQName(const WCHAR* qName, int qNameLength,
                                                      int* index) = 0;
  virtual HRESULT STDMETHODCALLTYPE getType(int index, const WCHAR** type, int* typeLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getTypeFromName(const WCHAR* uri, int uriLength,
                                                    const WCHAR* localName, int localNameLength,
                                                    const WCHAR** type, int* typeLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getTypeFromQName(const WCHAR* qName, int qNameLength,
                                                     const WCHAR** type, int* typeLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getValue(int index, const WCHAR** value, int* valueLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getValueFromName(const WCHAR* uri, int uriLength,
                                                     const WCHAR* localName, int localNameLength,
                                                     const WCHAR** value, int* valueLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE getValueFromQName(const WCHAR* qName, int qNameLength,
                                                      const WCHAR** value, int* valueLength) = 0;
};

struct ISAXContentHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE putDocumentLocator(ISAXLocator* locator) = 0;
  virtual HRESULT STDMETHODCALLTYPE startDocument() = 0;
  virtual HRESULT STDMETHODCALLTYPE endDocument() = 0;
  virtual HRESULT STDMETHODCALLTYPE startPrefixMapping(const WCHAR* prefix, int prefixLength,
                                                       const WCHAR* uri, int uriLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE endPrefixMapping(const WCHAR* prefix, int prefixLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE startElement(const WCHAR* namespaceUri, int namespaceUriLength,
                                                 const WCHAR* localName, int localNameLength,
                                                 const WCHAR* qName, int qNameLength,
                                                 ISAXAttributes* attributes) = 0;
  virtual HRESULT STDMETHODCALLTYPE endElement(const WCHAR* namespaceUri, int namespaceUriLength,
                                               const WCHAR* localName, int localNameLength,
                                               const WCHAR* qName, int qNameLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE characters(const WCHAR* text, int length) = 0;
  virtual HRESULT STDMETHODCALLTYPE ignorableWhitespace(const WCHAR* text, int length) = 0;
  virtual HRESULT STDMETHODCALLTYPE processingInstruction(const WCHAR* target, int targetLength,
                                                          const WCHAR* data, int dataLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE skippedEntity(const WCHAR* name, int nameLength) = 0;
};

struct ISAXErrorHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE error(ISAXLocator* locator, const WCHAR* message,
                                          HRESULT code) = 0;
  virtual HRESULT STDMETHODCALLTYPE fatalError(ISAXLocator* locator, const WCHAR* message,
                                               HRESULT code) = 0;
  virtual HRESULT STDMETHODCALLTYPE ignorableWarning(ISAXLocator* locator, const WCHAR* message,
                                                     HRESULT code) = 0;
};

struct ISAXXMLReader : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE getFeature(const WCHAR* name, VARIANT_BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE putFeature(const WCHAR* name, VARIANT_BOOL value) = 0;
  virtual HRESULT STDMETHODCALLTYPE getProperty(const WCHAR* name, VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE putProperty(const WCHAR* name, VARIANT value) = 0;
  virtual HRESULT STDMETHODCALLTYPE getEntityResolver(ISAXEntityResolver** resolver) = 0;
  virtual HRESULT STDMETHODCALLTYPE putEntityResolver(ISAXEntityResolver* resolver) = 0;
  virtual HRESULT STDMETHODCALLTYPE getContentHandler(ISAXContentHandler** handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE putContentHandler(ISAXContentHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE getDTDHandler(ISAXDTDHandler** handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE putDTDHandler(ISAXDTDHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE getErrorHandler(ISAXErrorHandler** handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE putErrorHandler(ISAXErrorHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE getBaseURL(const WCHAR** baseUrl) = 0;
  virtual HRESULT STDMETHODCALLTYPE putBaseURL(const WCHAR* baseUrl) = 0;
  virtual HRESULT STDMETHODCALLTYPE getSecureBaseURL(const WCHAR** secureBaseUrl) = 0;
  virtual HRESULT STDMETHODCALLTYPE putSecureBaseURL(const WCHAR* secureBaseUrl) = 0;
  virtual HRESULT STDMETHODCALLTYPE parse(VARIANT input) = 0;
  virtual HRESULT STDMETHODCALLTYPE parseURL(const WCHAR* url) = 0;
};

struct IMXWriter : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE put_output(VARIANT destination) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_output(VARIANT* destination) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_encoding(BSTR encoding) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_encoding(BSTR* encoding) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_byteOrderMark(VARIANT_BOOL writeByteOrderMark) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_byteOrderMark(VARIANT_BOOL* writeByteOrderMark) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_indent(VARIANT_BOOL indent) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_indent(VARIANT_BOOL* indent) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_standalone(VARIANT_BOOL standalone) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_standalone(VARIANT_BOOL* standalone) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_omitXMLDeclaration(VARIANT_BOOL omit) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_omitXMLDeclaration(VARIANT_BOOL* omit) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_version(BSTR version) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_version(BSTR* version) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_disableOutputEscaping(VARIANT_BOOL disable) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_disableOutputEscaping(VARIANT_BOOL* disable) = 0;
  virtual HRESULT STDMETHODCALLTYPE flush() = 0;
};
