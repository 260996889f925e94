#include "xml/xml_engine.h"

// Our own copies of the identifiers: the cross compiler's import libraries do not define them.
const CLSID kSaxReaderClassId = {
    0x079AA557, 0x4A18, 0x424A, {0x8E, 0xEE, 0xE3, 0x9F, 0x0A, 0x8D, 0x41, 0xB9}};
const IID kSaxReaderInterfaceId = {
    0xA4F96ED0, 0xF829, 0x476E, {0x81, 0xC0, 0xCD, 0xC7, 0xBD, 0x2A, 0x08, 0x02}};
const CLSID kXmlWriterClassId = {
    0xFC220AD8, 0xA72A, 0x4EE8, {0x92, 0x6E, 0x0B, 0x7A, 0xD1, 0x52, 0xA0, 0x20}};
const IID kXmlWriterInterfaceId = {
    0x4D7FF4BA, 0x1565, 0x4EA8, {0x94, 0xE1, 0x6E, 0x72, 0x4A, 0x46, 0xF9, 0x8D}};
const IID kContentHandlerInterfaceId = {
    0x1545CDFA, 0x9E4E, 0x4497, {0xA8, 0xA4, 0x2B, 0xF7, 0xD0, 0x11, 0x2C, 0x44}};

namespace {

template <typename Interface>
ComPtr<Interface> Create(REFCLSID classId, REFIID interfaceId) {
  ComPtr<Interface> object;
  if (FAILED(CoCreateInstance(classId, nullptr, kEngineClassContext, interfaceId,
                              reinterpret_cast<void**>(object.put())))) {
    object.release();  // a failed creation may leave anything in the out pointer
  }
  return object;
}

}  // namespace

void InitializeCom() { CoInitialize(nullptr); }

ComPtr<ISAXXMLReader> CreateSaxReader() {
  return Create<ISAXXMLReader>(kSaxReaderClassId, kSaxReaderInterfaceId);
}

ComPtr<IMXWriter> CreateXmlWriter() {
  return Create<IMXWriter>(kXmlWriterClassId, kXmlWriterInterfaceId);
}

bool ProbeXmlEngine() {
  InitializeCom();
  if (!CreateSaxReader()) {  // released again at once
    return false;
  }
  return static_cast<bool>(CreateXmlWriter());
}
