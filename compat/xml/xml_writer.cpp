// The XML writer: SAX content events in, XML text out, formatted as the system engine formats it.
// libxml2's text writer writes the tags and attributes; the writer adds the declaration, the
// line breaks and tabs of indentation, and text escaped the engine's way (only "&", "<" and ">").
//
// - startDocument writes <?xml version="1.0" encoding="..." standalone="yes|no"?> and CRLF.
// - With indentation on, each tag goes on a new line (CRLF, then one TAB per open element), except
//   right after the declaration, right after text, and when the end tag closes an element right
//   after its start: that element is written <a/>. An element with a characters call between its
//   start and end, even one of length 0, is written <a></a>.
// - The text collects in memory and reaches the output stream at endDocument, flush, once more
//   than kFlushBytes are waiting, and when the writer is released.
// - Output encodings: UTF-8 (no byte-order mark) and UTF-16 (little-endian, with a byte-order mark
//   unless turned off). Other encodings are refused.
// - Elements need a qualified name; an empty one is refused (the system engine writes "<>").
#include <libxml/xmlwriter.h>

#include <new>
#include <string>

#include "com_ref.h"
#include "engine_classes.h"
#include "utf16_text.h"

namespace compat {
namespace {

constexpr size_t kFlushBytes = 64 * 1024;

bool SameAsciiText(const WCHAR* text, const char* ascii) {
  for (; *ascii != '\0'; ++text, ++ascii) {
    char16_t c = *text;
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - (u'a' - u'A'));
    }
    if (c != static_cast<unsigned char>(*ascii)) {
      return false;
    }
  }
  return *text == 0;
}

void AppendEscaped(std::string& out, const std::string& text) {
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out.push_back(c);
    }
  }
}

const xmlChar* Xml(const std::string& text) {
  return reinterpret_cast<const xmlChar*>(text.c_str());
}

HRESULT PutFlag(VARIANT_BOOL value, bool* flag) {
  *flag = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT GetFlag(bool flag, VARIANT_BOOL* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = flag ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT GetText(const std::u16string& text, BSTR* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *value != nullptr ? S_OK : E_OUTOFMEMORY;
}

class XmlWriter final : public IMXWriter, public ISAXContentHandler {
 public:
  XmlWriter() {
    buffer_ = xmlBufferCreate();
    text_ = buffer_ != nullptr ? xmlNewTextWriterMemory(buffer_, 0) : nullptr;
    if (text_ == nullptr) {
      Free();
      throw std::bad_alloc();
    }
  }
  XmlWriter(const XmlWriter&) = delete;
  XmlWriter& operator=(const XmlWriter&) = delete;
  ~XmlWriter() {
    Flush();
    Free();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IDispatch) ||
        IsEqualGUID(iid, kXmlWriterInterfaceId)) {
      *object = static_cast<IMXWriter*>(this);
    } else if (IsEqualGUID(iid, kContentHandlerInterfaceId)) {
      *object = static_cast<ISAXContentHandler*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) {
      return E_POINTER;
    }
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // VT_EMPTY collects the text for get_output; an object must offer IStream.
  HRESULT STDMETHODCALLTYPE put_output(VARIANT destination) override {
    ComRef<IStream> stream;
    if (destination.vt == VT_UNKNOWN || destination.vt == VT_DISPATCH) {
      IStream* offered = nullptr;
      if (destination.punkVal == nullptr || FAILED(destination.punkVal->QueryInterface(
                                                IID_IStream, reinterpret_cast<void**>(&offered)))) {
        return E_INVALIDARG;
      }
      stream = ComRef<IStream>::Adopt(offered);
    } else if (destination.vt != VT_EMPTY) {
      return E_INVALIDARG;
    }
    Flush();
    stream_ = stream;
    collected_.clear();
    streamFailure_ = S_OK;
    byteOrderMarkWritten_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_output(VARIANT* destination) override {
    if (destination == nullptr) {
      return E_POINTER;
    }
    if (stream_) {
      destination->vt = VT_UNKNOWN;
      destination->punkVal = stream_.get();
      destination->punkVal->AddRef();
      return S_OK;
    }
    Flush();
    const std::u16string text = Utf16FromUtf8(collected_);
    destination->vt = VT_BSTR;
    destination->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return destination->bstrVal != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE put_encoding(BSTR encoding) override {
    if (encoding == nullptr ||
        (!SameAsciiText(encoding, "UTF-8") && !SameAsciiText(encoding, "UTF-16"))) {
      return E_INVALIDARG;
    }
    encoding_ = encoding;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_encoding(BSTR* encoding) override {
    return GetText(encoding_, encoding);
  }
  HRESULT STDMETHODCALLTYPE put_byteOrderMark(VARIANT_BOOL value) override {
    return PutFlag(value, &byteOrderMark_);
  }
  HRESULT STDMETHODCALLTYPE get_byteOrderMark(VARIANT_BOOL* value) override {
    return GetFlag(byteOrderMark_, value);
  }
  HRESULT STDMETHODCALLTYPE put_indent(VARIANT_BOOL value) override {
    return PutFlag(value, &indent_);
  }
  HRESULT STDMETHODCALLTYPE get_indent(VARIANT_BOOL* value) override {
    return GetFlag(indent_, value);
  }
  HRESULT STDMETHODCALLTYPE put_standalone(VARIANT_BOOL value) override {
    return PutFlag(value, &standalone_);
  }
  HRESULT STDMETHODCALLTYPE get_standalone(VARIANT_BOOL* value) override {
    return GetFlag(standalone_, value);
  }
  HRESULT STDMETHODCALLTYPE put_omitXMLDeclaration(VARIANT_BOOL value) override {
    return PutFlag(value, &omitDeclaration_);
  }
  HRESULT STDMETHODCALLTYPE get_omitXMLDeclaration(VARIANT_BOOL* value) override {
    return GetFlag(omitDeclaration_, value);
  }
  HRESULT STDMETHODCALLTYPE put_version(BSTR version) override {
    version_ = version != nullptr ? version : u"";
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_version(BSTR* version) override {
    return GetText(version_, version);
  }
  HRESULT STDMETHODCALLTYPE put_disableOutputEscaping(VARIANT_BOOL value) override {
    return PutFlag(value, &disableEscaping_);
  }
  HRESULT STDMETHODCALLTYPE get_disableOutputEscaping(VARIANT_BOOL* value) override {
    return GetFlag(disableEscaping_, value);
  }
  HRESULT STDMETHODCALLTYPE flush() override { return Flush(); }

  HRESULT STDMETHODCALLTYPE putDocumentLocator(ISAXLocator*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE startDocument() override {
    return Guarded([&] {
      if (omitDeclaration_) {
        return S_OK;
      }
      std::string declaration = "<?xml version=\"" +
                                Utf8FromUtf16(version_.data(), version_.size()) + "\" encoding=\"" +
                                Utf8FromUtf16(encoding_.data(), encoding_.size()) +
                                "\" standalone=\"" + (standalone_ ? "yes" : "no") + "\"?>\r\n";
      last_ = Last::kDeclaration;
      return Raw(declaration);
    });
  }
  HRESULT STDMETHODCALLTYPE endDocument() override { return Flush(); }
  HRESULT STDMETHODCALLTYPE startPrefixMapping(const WCHAR*, int, const WCHAR*, int) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE endPrefixMapping(const WCHAR*, int) override { return S_OK; }

  HRESULT STDMETHODCALLTYPE startElement(const WCHAR*, int, const WCHAR*, int, const WCHAR* qName,
                                         int qNameLength, ISAXAttributes* attributes) override {
    if (qNameLength < 0) {
      return E_INVALIDARG;
    }
    return Guarded([&] {
      const std::string name = Utf8FromUtf16(qName, EngineLength(qName, qNameLength));
      if (name.empty()) {
        return E_INVALIDARG;
      }
      HRESULT result = LineBreakBeforeTag(last_ == Last::kStartTag || last_ == Last::kEndTag);
      if (FAILED(result)) {
        return result;
      }
      if (xmlTextWriterStartElement(text_, Xml(name)) < 0) {
        return E_FAIL;
      }
      ++depth_;
      last_ = Last::kStartTag;
      result = WriteAttributes(attributes);
      return SUCCEEDED(result) ? AfterEvent() : result;
    });
  }
  HRESULT STDMETHODCALLTYPE endElement(const WCHAR*, int, const WCHAR*, int, const WCHAR*,
                                       int qNameLength) override {
    if (qNameLength < 0) {
      return E_INVALIDARG;
    }
    if (depth_ == 0) {
      return E_UNEXPECTED;
    }
    return Guarded([&] {
      --depth_;
      int written;
      if (last_ == Last::kStartTag) {
        written = xmlTextWriterEndElement(text_);  // <a/>
      } else {
        HRESULT result = LineBreakBeforeTag(last_ == Last::kEndTag);
        if (FAILED(result)) {
          return result;
        }
        written = xmlTextWriterFullEndElement(text_);
      }
      last_ = Last::kEndTag;
      return written < 0 ? E_FAIL : AfterEvent();
    });
  }
  HRESULT STDMETHODCALLTYPE characters(const WCHAR* text, int length) override {
    return Guarded([&] {
      const std::string utf8 = Utf8FromUtf16(text, EngineLength(text, length));
      std::string escaped;
      if (disableEscaping_) {
        escaped = utf8;
      } else {
        AppendEscaped(escaped, utf8);
      }
      last_ = Last::kText;
      HRESULT result = Raw(escaped);  // even empty text closes the start tag: <a></a>
      return SUCCEEDED(result) ? AfterEvent() : result;
    });
  }
  HRESULT STDMETHODCALLTYPE ignorableWhitespace(const WCHAR* text, int length) override {
    return characters(text, length);
  }
  HRESULT STDMETHODCALLTYPE processingInstruction(const WCHAR* target, int targetLength,
                                                  const WCHAR* data, int dataLength) override {
    return Guarded([&] {
      std::string instruction = "<?" + Utf8FromUtf16(target, EngineLength(target, targetLength));
      const std::string content = Utf8FromUtf16(data, EngineLength(data, dataLength));
      if (!content.empty()) {
        instruction += " " + content;
      }
      instruction += "?>";
      HRESULT result = LineBreakBeforeTag(last_ == Last::kStartTag || last_ == Last::kEndTag);
      if (SUCCEEDED(result)) {
        result = Raw(instruction);
      }
      last_ = Last::kEndTag;
      return SUCCEEDED(result) ? AfterEvent() : result;
    });
  }
  HRESULT STDMETHODCALLTYPE skippedEntity(const WCHAR*, int) override { return S_OK; }

 private:
  // What was written last: it decides whether a tag starts a new line.
  enum class Last { kNothing, kDeclaration, kStartTag, kEndTag, kText };

  template <typename Body>
  HRESULT Guarded(Body&& body) noexcept {
    try {
      return body();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_FAIL;
    }
  }

  void Free() {
    if (text_ != nullptr) {
      xmlFreeTextWriter(text_);
      text_ = nullptr;
    }
    if (buffer_ != nullptr) {
      xmlBufferFree(buffer_);
      buffer_ = nullptr;
    }
  }

  HRESULT Raw(const std::string& text) {
    return xmlTextWriterWriteRawLen(text_, Xml(text), static_cast<int>(text.size())) < 0 ? E_FAIL
                                                                                         : S_OK;
  }

  HRESULT LineBreakBeforeTag(bool wanted) {
    if (!indent_ || !wanted) {
      return S_OK;
    }
    return Raw("\r\n" + std::string(depth_, '\t'));
  }

  HRESULT WriteAttributes(ISAXAttributes* attributes) {
    int count = 0;
    if (attributes == nullptr || FAILED(attributes->getLength(&count))) {
      return S_OK;
    }
    for (int i = 0; i < count; ++i) {
      const WCHAR* name = nullptr;
      const WCHAR* value = nullptr;
      int nameLength = 0;
      int valueLength = 0;
      if (FAILED(attributes->getQName(i, &name, &nameLength)) ||
          FAILED(attributes->getValue(i, &value, &valueLength))) {
        return E_INVALIDARG;
      }
      const std::string attributeName = Utf8FromUtf16(name, EngineLength(name, nameLength));
      const std::string attributeValue = Utf8FromUtf16(value, EngineLength(value, valueLength));
      if (xmlTextWriterWriteAttribute(text_, Xml(attributeName), Xml(attributeValue)) < 0) {
        return E_FAIL;
      }
    }
    return S_OK;
  }

  HRESULT AfterEvent() {
    return static_cast<size_t>(xmlBufferLength(buffer_)) > kFlushBytes ? Flush() : S_OK;
  }

  // Moves what libxml2 has written to the stream, or to the collected text without one. A stream
  // that failed once keeps failing: the document is incomplete.
  HRESULT Flush() {
    if (text_ == nullptr || xmlTextWriterFlush(text_) < 0) {
      return E_FAIL;
    }
    std::string bytes(reinterpret_cast<const char*>(xmlBufferContent(buffer_)),
                      static_cast<size_t>(xmlBufferLength(buffer_)));
    xmlBufferEmpty(buffer_);
    if (!stream_) {
      collected_ += bytes;
      return S_OK;
    }
    if (FAILED(streamFailure_) || bytes.empty()) {
      return streamFailure_;
    }
    if (SameAsciiText(encoding_.c_str(), "UTF-16")) {
      std::u16string units = Utf16FromUtf8(bytes);
      if (byteOrderMark_ && !byteOrderMarkWritten_) {
        units.insert(units.begin(), u'\xFEFF');
      }
      bytes.clear();
      for (char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
      }
    }
    byteOrderMarkWritten_ = true;
    ULONG written = 0;
    HRESULT result = stream_->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (FAILED(result) || written != bytes.size()) {
      streamFailure_ = FAILED(result) ? result : STG_E_WRITEFAULT;
    }
    return streamFailure_;
  }

  ULONG references_ = 1;
  xmlBufferPtr buffer_ = nullptr;
  xmlTextWriterPtr text_ = nullptr;
  ComRef<IStream> stream_;
  std::string collected_;
  HRESULT streamFailure_ = S_OK;
  bool byteOrderMarkWritten_ = false;

  std::u16string encoding_ = u"UTF-16";
  std::u16string version_ = u"1.0";
  bool byteOrderMark_ = true;
  bool indent_ = false;
  bool standalone_ = false;
  bool omitDeclaration_ = false;
  bool disableEscaping_ = false;

  size_t depth_ = 0;
  Last last_ = Last::kNothing;
};

}  // namespace

HRESULT CreateXmlWriter(REFIID iid, void** object) {
  ComRef<XmlWriter> writer = ComRef<XmlWriter>::Adopt(new XmlWriter);
  return writer->QueryInterface(iid, object);
}

}  // namespace compat
