// The state that the product identity queries keep between calls: the one document they load and
// the buffer in which f21 composes the product title. Both live from the library's load to its
// unload; answers of the queries point into them.
#pragma once

#include "config/config_document.h"

// Every identity query reloads it; it is never saved.
extern ConfigDocument g_identityDocument;

// 128 bytes, NUL included; every f21 overwrites it.
constexpr int kTitleBufferSize = 128;
extern char g_titleBuffer[kTitleBufferSize];
