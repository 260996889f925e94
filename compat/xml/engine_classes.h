// The classes of the XML engine stand-in and the identifiers they answer to. CoCreateInstance
// (com_runtime.cpp) hands out new objects through the two factories.
#pragma once

#include <windows.h>

namespace compat {

extern const CLSID kSaxReaderClassId;
extern const CLSID kXmlWriterClassId;
extern const IID kSaxReaderInterfaceId;
extern const IID kXmlWriterInterfaceId;
extern const IID kContentHandlerInterfaceId;
extern const IID kErrorHandlerInterfaceId;
extern const IID kLocatorInterfaceId;
extern const IID kAttributesInterfaceId;

// A new object asked for `iid`; E_NOINTERFACE (and no object) when it has no such interface.
HRESULT CreateSaxReader(REFIID iid, void** object);
HRESULT CreateXmlWriter(REFIID iid, void** object);

}  // namespace compat
