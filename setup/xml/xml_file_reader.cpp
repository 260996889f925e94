#include "xml/xml_file_reader.h"

#include "xml/file_url.h"
#include "xml/xml_engine.h"

XmlReadResult ReadXmlFile(SaxHandlerBase& document, const char* path) {
  InitializeCom();
  ComPtr<ISAXXMLReader> reader = CreateSaxReader();
  if (!reader) {
    return XmlReadResult::kNoReader;
  }
  reader->putContentHandler(document.contentHandler());
  reader->putErrorHandler(document.errorHandler());
  WCHAR url[kFileUrlUnits];
  if (!BuildFileUrl(path, url)) {
    return XmlReadResult::kIncomplete;
  }
  return reader->parseURL(url) == S_OK ? XmlReadResult::kComplete : XmlReadResult::kIncomplete;
}
