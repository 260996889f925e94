// The attribute list handed with each element start: ISAXAttributes over the element's attributes
// as libxml2 reported them. One object serves a whole parse and is refilled for every element;
// the parse owns it, so its reference count never destroys it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace compat {

class SaxAttributes final : public ISAXAttributes {
 public:
  struct Attribute {
    std::u16string uri;
    std::u16string localName;
    std::u16string qName;
    std::u16string value;
  };

  void Assign(std::vector<Attribute> attributes) { attributes_ = std::move(attributes); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  HRESULT STDMETHODCALLTYPE getLength(int* length) override;
  HRESULT STDMETHODCALLTYPE getURI(int index, const WCHAR** uri, int* uriLength) override;
  HRESULT STDMETHODCALLTYPE getLocalName(int index, const WCHAR** localName,
                                         int* localNameLength) override;
  HRESULT STDMETHODCALLTYPE getQName(int index, const WCHAR** qName, int* qNameLength) override;
  HRESULT STDMETHODCALLTYPE getName(int index, const WCHAR** uri, int* uriLength,
                                    const WCHAR** localName, int* localNameLength,
                                    const WCHAR** qName, int* qNameLength) override;
  HRESULT STDMETHODCALLTYPE getIndexFromName(const WCHAR* uri, int uriLength,
                                             const WCHAR* localName, int localNameLength,
                                             int* index) override;
  HRESULT STDMETHODCALLTYPE getIndexFromQName(const WCHAR* qName, int qNameLength,
                                              int* index) override;
  HRESULT STDMETHODCALLTYPE getType(int index, const WCHAR** type, int* typeLength) override;
  HRESULT STDMETHODCALLTYPE getTypeFromName(const WCHAR* uri, int uriLength, const WCHAR* localName,
                                            int localNameLength, const WCHAR** type,
                                            int* typeLength) override;
  HRESULT STDMETHODCALLTYPE getTypeFromQName(const WCHAR* qName, int qNameLength,
                                             const WCHAR** type, int* typeLength) override;
  HRESULT STDMETHODCALLTYPE getValue(int index, const WCHAR** value, int* valueLength) override;
  HRESULT STDMETHODCALLTYPE getValueFromName(const WCHAR* uri, int uriLength,
                                             const WCHAR* localName, int localNameLength,
                                             const WCHAR** value, int* valueLength) override;
  HRESULT STDMETHODCALLTYPE getValueFromQName(const WCHAR* qName, int qNameLength,
                                              const WCHAR** value, int* valueLength) override;

 private:
  const Attribute* At(int index) const;
  int IndexOfName(const WCHAR* uri, int uriLength, const WCHAR* localName,
                  int localNameLength) const;
  int IndexOfQName(const WCHAR* qName, int qNameLength) const;

  std::vector<Attribute> attributes_;
  ULONG references_ = 1;
};

}  // namespace compat
