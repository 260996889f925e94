// One parse of one file: libxml2's SAX2 push parser fed from the file, its events handed to the
// content handler the way the system engine hands them.
//
// - Element names come as namespace URI, local name and qualified name; namespaces are on, and
//   each declaration is announced by startPrefixMapping before its element and endPrefixMapping
//   after it. A prefix without a declaration is an error, as for the system engine.
// - Text (CDATA sections included) comes through characters, in as many chunks as libxml2 makes;
//   line ends are normalised to LF. Whitespace between elements is text too.
// - A callback answering anything but S_OK stops the parse, which then fails.
// - Errors: the first one goes to the error handler's fatalError and ends the parse.
// - External entities are never loaded: a reference to one is an error. DTDs inside the document
//   are read, and the entities they declare are expanded within libxml2's expansion limits.
// - Nesting deeper than libxml2's limit (256 levels) is an error.
#pragma once

#include <libxml/parser.h>
#include <windows.h>

#include <string>
#include <vector>

#include "com_ref.h"
#include "sax_attributes.h"

namespace compat {

class SaxParse {
 public:
  SaxParse(ISAXContentHandler* content, ISAXErrorHandler* errors, std::u16string systemId);
  SaxParse(const SaxParse&) = delete;
  SaxParse& operator=(const SaxParse&) = delete;
  ~SaxParse();

  // S_OK when the whole file was read and every callback answered S_OK; otherwise a failure.
  HRESULT Run(const std::string& path);

 private:
  class Locator final : public ISAXLocator {
   public:
    explicit Locator(const SaxParse& parse) : parse_(parse) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE getColumnNumber(int* column) override;
    HRESULT STDMETHODCALLTYPE getLineNumber(int* line) override;
    HRESULT STDMETHODCALLTYPE getPublicId(const WCHAR** publicId) override;
    HRESULT STDMETHODCALLTYPE getSystemId(const WCHAR** systemId) override;

   private:
    const SaxParse& parse_;
    ULONG references_ = 1;
  };

  // The parse a libxml2 callback belongs to; null for a context without one.
  static SaxParse* From(void* context);
  static void OnStartDocument(void* context);
  static void OnEndDocument(void* context);
  static void OnStartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                             const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                             int attributeCount, int defaultedCount, const xmlChar** attributes);
  static void OnEndElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                           const xmlChar* uri);
  static void OnCharacters(void* context, const xmlChar* text, int length);
  static void OnCdata(void* context, const xmlChar* text, int length);
  static void OnProcessingInstruction(void* context, const xmlChar* target, const xmlChar* data);
  static void OnEntityDeclaration(void* context, const xmlChar* name, int type,
                                  const xmlChar* publicId, const xmlChar* systemId,
                                  xmlChar* content);
  static void OnError(void* context, xmlErrorPtr error);

  // Runs one event unless the parse has stopped; a result other than S_OK, or an exception, stops
  // it. `context` is the libxml2 parser that reported the event.
  template <typename Event>
  void Deliver(void* context, Event&& event);
  void Stop(void* context, HRESULT result);
  bool Stopped() const { return FAILED(failure_) || stopped_; }
  HRESULT Characters(const std::string& utf8);

  ComRef<ISAXContentHandler> content_;
  ComRef<ISAXErrorHandler> errors_;
  std::u16string systemId_;
  xmlParserCtxtPtr context_ = nullptr;
  Locator locator_{*this};
  SaxAttributes attributes_;
  // The prefixes each open element declared, for their endPrefixMapping calls.
  std::vector<std::vector<std::u16string>> declaredPrefixes_;
  // A CDATA chunk ended in CR: an LF opening the next chunk belongs to the same line end.
  bool cdataEndedInCr_ = false;
  bool stopped_ = false;
  HRESULT failure_ = S_OK;
};

}  // namespace compat
