// The system XML engine: the identifiers of its SAX reader and XML writer, and their creation
// through COM. Every creation asks for an in-process server, an in-process handler or a local
// server, without an outer object.
#pragma once

#include <msxml2.h>
#include <windows.h>

#include "unique_resource.h"

extern const CLSID kSaxReaderClassId;         // SAXXMLReader
extern const IID kSaxReaderInterfaceId;       // ISAXXMLReader
extern const CLSID kXmlWriterClassId;         // MXXMLWriter
extern const IID kXmlWriterInterfaceId;       // IMXWriter
extern const IID kContentHandlerInterfaceId;  // ISAXContentHandler

constexpr DWORD kEngineClassContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

// Starts COM on the calling thread for the engine; the result does not matter (COM may already
// run there) and COM is never shut down again by this library.
void InitializeCom();

// Null when the engine answers a failure. COM must run on the calling thread.
ComPtr<ISAXXMLReader> CreateSaxReader();
ComPtr<IMXWriter> CreateXmlWriter();

// Whether the engine is usable: starts COM on the thread, then creates a reader and a writer and
// releases each at once. The writer is not tried when the reader cannot be created.
bool ProbeXmlEngine();
