// UTF-8 (libxml2's side) <-> UTF-16 (the engine interfaces' side), with lengths, so that embedded
// NULs pass. Ill-formed input is replaced by U+FFFD as the code page functions do.
#pragma once

#include <windows.h>

#include <string>

namespace compat {

std::u16string Utf16FromUtf8(const char* text, size_t length);
inline std::u16string Utf16FromUtf8(const std::string& text) {
  return Utf16FromUtf8(text.data(), text.size());
}
std::string Utf8FromUtf16(const WCHAR* text, size_t length);

// A view of engine-supplied text: null or a negative length count as empty.
inline size_t EngineLength(const WCHAR* text, int length) {
  return text != nullptr && length > 0 ? static_cast<size_t>(length) : 0;
}

}  // namespace compat
