#include "element_name_codec.h"

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The value of a hexadecimal digit, or -1.
int HexValue(unsigned char c) {
  if (IsAsciiDigit(c)) {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

}  // namespace

std::optional<std::string> EncodeName(const char* name) {
  if (name == nullptr || *name == '\0') {
    return std::nullopt;
  }
  std::string encoded;
  for (const char* p = name; *p != '\0'; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (IsAsciiLetter(c) || (IsAsciiDigit(c) && p != name)) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '_';
      encoded += kHexDigits[c >> 4];
      encoded += kHexDigits[c & 0x0F];
    }
    if (encoded.size() > kMaxElementNameLength) {
      return std::nullopt;
    }
  }
  return encoded;
}

std::optional<std::string> DecodeName(const char* elementName) {
  if (elementName == nullptr || *elementName == '\0') {
    return std::nullopt;
  }
  std::string decoded;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(elementName);
  while (*p != '\0') {
    // p[1] is NUL at the end of the name, so p[2] is read only when p[1] is a digit.
    const int high = p[0] == '_' ? HexValue(p[1]) : -1;
    const int low = high >= 0 ? HexValue(p[2]) : -1;
    if (low >= 0) {
      if (high == 0 && low == 0) {
        return std::nullopt;  // "_00" would end the name early: it would stand for another name
      }
      decoded += static_cast<char>(high * 16 + low);
      p += 3;
    } else {
      decoded += static_cast<char>(*p);
      p += 1;
    }
    if (decoded.size() > kMaxElementNameLength) {
      return std::nullopt;
    }
  }
  return decoded;
}
