#include "utf16_text.h"

#include <climits>

namespace compat {

std::u16string Utf16FromUtf8(const char* text, size_t length) {
  std::u16string result;
  if (text == nullptr || length == 0 || length > INT_MAX) {
    return result;
  }
  const int size = static_cast<int>(length);
  result.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text, size, nullptr, 0)));
  if (!result.empty()) {
    MultiByteToWideChar(CP_UTF8, 0, text, size, &result[0], static_cast<int>(result.size()));
  }
  return result;
}

std::string Utf8FromUtf16(const WCHAR* text, size_t length) {
  std::string result;
  if (text == nullptr || length == 0 || length > INT_MAX) {
    return result;
  }
  const int size = static_cast<int>(length);
  result.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr)));
  if (!result.empty()) {
    WideCharToMultiByte(CP_UTF8, 0, text, size, &result[0], static_cast<int>(result.size()),
                        nullptr, nullptr);
  }
  return result;
}

}  // namespace compat
