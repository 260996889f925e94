// The SAX reader: holds the handlers and parses "file:///" URLs (see sax_parse.h for what a parse
// delivers). Features, properties, DTD handlers, entity resolvers and parsing from a variant are
// not offered.
#include <new>
#include <string>

#include "com_ref.h"
#include "engine_classes.h"
#include "sax_parse.h"
#include "utf16_text.h"

namespace compat {
namespace {

// The path a "file:///" URL names: the rest of the URL, as the setup library builds these URLs
// from paths ("file:///" + "/tmp/a.xml" names /tmp/a.xml). Other URLs name no file.
bool PathFromFileUrl(const std::u16string& url, std::string* path) {
  static const std::u16string kScheme = u"file:///";
  if (url.size() < kScheme.size()) {
    return false;
  }
  for (size_t i = 0; i < kScheme.size(); ++i) {
    char16_t c = url[i];
    if ((c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c) != kScheme[i]) {
      return false;
    }
  }
  *path = Utf8FromUtf16(url.data() + kScheme.size(), url.size() - kScheme.size());
  return !path->empty();
}

class SaxReader final : public ISAXXMLReader {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, kSaxReaderInterfaceId)) {
      *object = static_cast<ISAXXMLReader*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE getFeature(const WCHAR*, VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE putFeature(const WCHAR*, VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE getProperty(const WCHAR*, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE putProperty(const WCHAR*, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE getEntityResolver(ISAXEntityResolver** resolver) override {
    return AnswerNone(resolver);
  }
  HRESULT STDMETHODCALLTYPE putEntityResolver(ISAXEntityResolver* resolver) override {
    return resolver == nullptr ? S_OK : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE getContentHandler(ISAXContentHandler** handler) override {
    return Answer(content_, handler);
  }
  HRESULT STDMETHODCALLTYPE putContentHandler(ISAXContentHandler* handler) override {
    content_ = ComRef<ISAXContentHandler>(handler);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE getDTDHandler(ISAXDTDHandler** handler) override {
    return AnswerNone(handler);
  }
  HRESULT STDMETHODCALLTYPE putDTDHandler(ISAXDTDHandler* handler) override {
    return handler == nullptr ? S_OK : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE getErrorHandler(ISAXErrorHandler** handler) override {
    return Answer(errors_, handler);
  }
  HRESULT STDMETHODCALLTYPE putErrorHandler(ISAXErrorHandler* handler) override {
    errors_ = ComRef<ISAXErrorHandler>(handler);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE getBaseURL(const WCHAR** url) override { return Answer(baseUrl_, url); }
  HRESULT STDMETHODCALLTYPE putBaseURL(const WCHAR* url) override { return Store(url, &baseUrl_); }
  HRESULT STDMETHODCALLTYPE getSecureBaseURL(const WCHAR** url) override {
    return Answer(secureBaseUrl_, url);
  }
  HRESULT STDMETHODCALLTYPE putSecureBaseURL(const WCHAR* url) override {
    return Store(url, &secureBaseUrl_);
  }
  HRESULT STDMETHODCALLTYPE parse(VARIANT) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE parseURL(const WCHAR* url) override {
    if (url == nullptr) {
      return E_INVALIDARG;
    }
    try {
      const std::u16string text(url);
      std::string path;
      if (!PathFromFileUrl(text, &path)) {
        return E_INVALIDARG;
      }
      // The handlers are held for the whole parse, whatever the callbacks do to the reader.
      SaxParse parse(content_.get(), errors_.get(), text);
      return parse.Run(path);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

 private:
  template <typename Interface>
  static HRESULT Answer(const ComRef<Interface>& held, Interface** out) {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = held.get();
    if (*out != nullptr) {
      (*out)->AddRef();
    }
    return S_OK;
  }
  template <typename Interface>
  static HRESULT AnswerNone(Interface** out) {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = nullptr;
    return S_OK;
  }
  static HRESULT Answer(const std::u16string& text, const WCHAR** out) {
    if (out == nullptr) {
      return E_POINTER;
    }
    *out = text.c_str();
    return S_OK;
  }
  static HRESULT Store(const WCHAR* text, std::u16string* into) {
    *into = text != nullptr ? text : u"";
    return S_OK;
  }

  ULONG references_ = 1;
  ComRef<ISAXContentHandler> content_;
  ComRef<ISAXErrorHandler> errors_;
  std::u16string baseUrl_;
  std::u16string secureBaseUrl_;
};

}  // namespace

HRESULT CreateSaxReader(REFIID iid, void** object) {
  ComRef<SaxReader> reader = ComRef<SaxReader>::Adopt(new SaxReader);
  return reader->QueryInterface(iid, object);
}

}  // namespace compat
