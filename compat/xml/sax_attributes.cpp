#include "sax_attributes.h"

#include "engine_classes.h"
#include "utf16_text.h"

namespace compat {
namespace {

// Every attribute of a document without a DTD has the type CDATA.
const std::u16string kAttributeType = u"CDATA";

HRESULT Answer(const std::u16string& text, const WCHAR** out, int* outLength) {
  if (out == nullptr || outLength == nullptr) {
    return E_POINTER;
  }
  *out = text.c_str();
  *outLength = static_cast<int>(text.size());
  return S_OK;
}

bool Same(const std::u16string& stored, const WCHAR* text, int length) {
  return stored.compare(0, std::u16string::npos, text != nullptr ? text : u"",
                        EngineLength(text, length)) == 0;
}

}  // namespace

HRESULT SaxAttributes::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, kAttributesInterfaceId)) {
    *object = static_cast<ISAXAttributes*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

const SaxAttributes::Attribute* SaxAttributes::At(int index) const {
  return index >= 0 && static_cast<size_t>(index) < attributes_.size() ? &attributes_[index]
                                                                       : nullptr;
}

int SaxAttributes::IndexOfName(const WCHAR* uri, int uriLength, const WCHAR* localName,
                               int localNameLength) const {
  for (size_t i = 0; i < attributes_.size(); ++i) {
    if (Same(attributes_[i].uri, uri, uriLength) &&
        Same(attributes_[i].localName, localName, localNameLength)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int SaxAttributes::IndexOfQName(const WCHAR* qName, int qNameLength) const {
  for (size_t i = 0; i < attributes_.size(); ++i) {
    if (Same(attributes_[i].qName, qName, qNameLength)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

HRESULT SaxAttributes::getLength(int* length) {
  if (length == nullptr) {
    return E_POINTER;
  }
  *length = static_cast<int>(attributes_.size());
  return S_OK;
}

HRESULT SaxAttributes::getURI(int index, const WCHAR** uri, int* uriLength) {
  const Attribute* attribute = At(index);
  return attribute != nullptr ? Answer(attribute->uri, uri, uriLength) : E_INVALIDARG;
}

HRESULT SaxAttributes::getLocalName(int index, const WCHAR** localName, int* localNameLength) {
  const Attribute* attribute = At(index);
  return attribute != nullptr ? Answer(attribute->localName, localName, localNameLength)
                              : E_INVALIDARG;
}

HRESULT SaxAttributes::getQName(int index, const WCHAR** qName, int* qNameLength) {
  const Attribute* attribute = At(index);
  return attribute != nullptr ? Answer(attribute->qName, qName, qNameLength) : E_INVALIDARG;
}

HRESULT SaxAttributes::getName(int index, const WCHAR** uri, int* uriLength,
                               const WCHAR** localName, int* localNameLength, const WCHAR** qName,
                               int* qNameLength) {
  const Attribute* attribute = At(index);
  if (attribute == nullptr) {
    return E_INVALIDARG;
  }
  HRESULT result = Answer(attribute->uri, uri, uriLength);
  if (SUCCEEDED(result)) {
    result = Answer(attribute->localName, localName, localNameLength);
  }
  return SUCCEEDED(result) ? Answer(attribute->qName, qName, qNameLength) : result;
}

HRESULT SaxAttributes::getIndexFromName(const WCHAR* uri, int uriLength, const WCHAR* localName,
                                        int localNameLength, int* index) {
  if (index == nullptr) {
    return E_POINTER;
  }
  *index = IndexOfName(uri, uriLength, localName, localNameLength);
  return *index >= 0 ? S_OK : E_INVALIDARG;
}

HRESULT SaxAttributes::getIndexFromQName(const WCHAR* qName, int qNameLength, int* index) {
  if (index == nullptr) {
    return E_POINTER;
  }
  *index = IndexOfQName(qName, qNameLength);
  return *index >= 0 ? S_OK : E_INVALIDARG;
}

HRESULT SaxAttributes::getType(int index, const WCHAR** type, int* typeLength) {
  return At(index) != nullptr ? Answer(kAttributeType, type, typeLength) : E_INVALIDARG;
}

HRESULT SaxAttributes::getTypeFromName(const WCHAR* uri, int uriLength, const WCHAR* localName,
                                       int localNameLength, const WCHAR** type, int* typeLength) {
  return getType(IndexOfName(uri, uriLength, localName, localNameLength), type, typeLength);
}

HRESULT SaxAttributes::getTypeFromQName(const WCHAR* qName, int qNameLength, const WCHAR** type,
                                        int* typeLength) {
  return getType(IndexOfQName(qName, qNameLength), type, typeLength);
}

HRESULT SaxAttributes::getValue(int index, const WCHAR** value, int* valueLength) {
  const Attribute* attribute = At(index);
  return attribute != nullptr ? Answer(attribute->value, value, valueLength) : E_INVALIDARG;
}

HRESULT SaxAttributes::getValueFromName(const WCHAR* uri, int uriLength, const WCHAR* localName,
                                        int localNameLength, const WCHAR** value,
                                        int* valueLength) {
  return getValue(IndexOfName(uri, uriLength, localName, localNameLength), value, valueLength);
}

HRESULT SaxAttributes::getValueFromQName(const WCHAR* qName, int qNameLength, const WCHAR** value,
                                         int* valueLength) {
  return getValue(IndexOfQName(qName, qNameLength), value, valueLength);
}

}  // namespace compat
