#include "ascii_case.h"

namespace {

unsigned char FoldAsciiLetter(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

const char* OrEmpty(const char* s) { return s != nullptr ? s : ""; }

}  // namespace

bool EqualsIgnoringAsciiCase(const char* a, const char* b) {
  a = OrEmpty(a);
  b = OrEmpty(b);
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (FoldAsciiLetter(*a) != FoldAsciiLetter(*b)) {
      return false;
    }
  }
  return *a == *b;
}

bool StartsWithIgnoringAsciiCase(const char* text, const char* prefix) {
  text = OrEmpty(text);
  prefix = OrEmpty(prefix);
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (*text == '\0' || FoldAsciiLetter(*text) != FoldAsciiLetter(*prefix)) {
      return false;
    }
  }
  return true;
}
