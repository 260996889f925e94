// Reading a document from an XML file: the one load sequence every document class uses. COM is
// started on the calling thread (and left running), the engine's SAX reader is created and given
// the document as its content and error handler, the file is parsed as a "file:///" URL and the
// reader is released. Whatever the hooks accepted before a failure stays in the document.
#pragma once

#include "xml/sax_handler_base.h"

enum class XmlReadResult {
  kNoReader,    // the SAX reader could not be created: nothing was read
  kComplete,    // the whole document was read and every hook answered 0
  kIncomplete,  // missing, unreadable or malformed file, a path too long for a URL, or a hook
                // stopped the parse
};

XmlReadResult ReadXmlFile(SaxHandlerBase& document, const char* path);
