// Small text rules shared by the stand-ins: white space as the profile functions see it,
// letter-case-blind comparison of names and hex digits. Case folding covers ASCII letters only;
// other bytes (UTF-8, the ANSI code page here) compare as they are.
#pragma once

#include <string_view>

namespace compat {

// Blank and the control characters 0x09 to 0x0D.
inline bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

inline std::string_view TrimSpace(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

inline char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) {
      return false;
    }
  }
  return true;
}

// The value of a hex digit of either case, or -1.
inline int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace compat
