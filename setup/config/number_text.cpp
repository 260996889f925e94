#include "number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr int kSignificantDigits = 6;

}  // namespace

int32_t ReadLong(const char* text) {
  if (text == nullptr) {
    return 0;
  }
  while (IsCSpace(*text)) {
    ++text;
  }
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') {
    ++text;
  }
  // Gathered as a magnitude up to one past the largest negative value, then clamped.
  constexpr int64_t kMagnitudeLimit = int64_t{INT32_MAX} + 1;
  int64_t magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    magnitude = magnitude * 10 + (*text - '0');
    if (magnitude > kMagnitudeLimit) {
      magnitude = kMagnitudeLimit;
    }
  }
  if (negative) {
    return static_cast<int32_t>(-magnitude);
  }
  return static_cast<int32_t>(magnitude > INT32_MAX ? INT32_MAX : magnitude);
}

std::string FormatLong(int32_t value) { return std::to_string(value); }

std::string FormatDouble(double value) {
  if (std::isnan(value)) {
    return "nan";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-inf" : "inf";
  }
  // The C library rounds to six significant digits; its exponent is read back as a number because
  // its width differs between libraries (two digits here, three there).
  char scientific[32];
  std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1, value);
  std::string text(scientific);
  const std::string::size_type e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  const bool negative = text[0] == '-';
  std::string digits;  // the six significant digits, without the point
  for (std::string::size_type i = negative ? 1 : 0; i < e; ++i) {
    if (text[i] != '.') {
      digits += text[i];
    }
  }
  while (digits.size() > 1 && digits.back() == '0') {
    digits.pop_back();
  }

  std::string out = negative ? "-" : "";
  if (exponent >= -1 && exponent < kSignificantDigits) {
    if (exponent == -1) {
      out += "0.";
      out += digits;
    } else {
      // exponent + 1 digits before the point, padded with zeros where the trimmed digits end.
      const std::string::size_type whole = static_cast<std::string::size_type>(exponent) + 1;
      if (digits.size() <= whole) {
        out += digits + std::string(whole - digits.size(), '0') + ".";
      } else {
        out += digits.substr(0, whole) + "." + digits.substr(whole);
      }
    }
    return out;
  }
  char exponentText[16];
  std::snprintf(exponentText, sizeof exponentText, "e%c%03d", exponent < 0 ? '-' : '+',
                std::abs(exponent));
  out += digits.substr(0, 1) + "." + digits.substr(1) + exponentText;
  return out;
}
