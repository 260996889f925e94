// Element and text output through the XML writer's content handler, from 8-bit strings in the
// ANSI code page. Elements carry no namespace and no attributes. Each answers the writer's result.
#pragma once

#include <msxml2.h>
#include <windows.h>

// The start tag when `start` is true, the end tag otherwise. A null name counts as "".
HRESULT WriteElement(ISAXContentHandler* handler, const char* name, bool start);
// One characters call, also for empty text. Null counts as "".
HRESULT WriteCharacters(ISAXContentHandler* handler, const char* text);
// Start tag, the text unless it is null (empty text still makes one characters call, so the
// element is written <name></name>), end tag. Answers the first failure, after all three calls.
HRESULT WriteTextElement(ISAXContentHandler* handler, const char* name, const char* text);
