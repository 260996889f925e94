#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace {

// Appends to a NumberText; callers never write more than it holds.
class TextWriter {
 public:
  explicit TextWriter(NumberText& text) : text_(text) { text_.length = 0; }
  ~TextWriter() { text_.chars[text_.length] = '\0'; }

  void Put(char c) { text_.chars[text_.length++] = c; }
  void Put(const char* chars, std::size_t count) {
    std::memcpy(text_.chars + text_.length, chars, count);
    text_.length += static_cast<uint32_t>(count);
  }
  void Put(std::string_view chars) { Put(chars.data(), chars.size()); }

 private:
  NumberText& text_;
};

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void PutNotANumber(TextWriter& out, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  constexpr uint64_t kQuietBit = uint64_t{1} << 51;
  constexpr uint64_t kPayload = kQuietBit - 1;
  const bool quiet = (bits & kQuietBit) != 0;
  if (!quiet) {
    out.Put("1.#SNAN");
  } else if (std::signbit(value) && (bits & kPayload) == 0) {
    out.Put("1.#IND");
  } else {
    out.Put("1.#QNAN");
  }
}

}  // namespace

NumberText FormatGeneral(double value) {
  NumberText text;
  TextWriter out(text);
  if (std::signbit(value)) {
    out.Put('-');
  }
  if (std::isinf(value)) {
    out.Put("1.#INF");
    return text;
  }
  if (std::isnan(value)) {
    PutNotANumber(out, value);
    return text;
  }

  // The first 17 significant digits, correctly rounded: d.dddddddddddddddde+XX.
  char scientific[40];
  const auto written = std::to_chars(scientific, scientific + sizeof scientific, std::fabs(value),
                                     std::chars_format::scientific, 16);
  char digits[17];
  digits[0] = scientific[0];
  std::memcpy(digits + 1, scientific + 2, 16);
  int exponent = 0;
  std::from_chars(scientific + 20, written.ptr, exponent);  // from_chars skips no '+'
  if (scientific[19] == '-') {
    exponent = -exponent;
  }

  // Six of them, rounded half up.
  if (digits[6] >= '5') {
    int i = 5;
    while (i >= 0 && digits[i] == '9') {
      digits[i--] = '0';
    }
    if (i < 0) {
      digits[0] = '1';
      ++exponent;
    } else {
      ++digits[i];
    }
  }
  int last = 5;  // the last significant digit kept
  while (last > 0 && digits[last] == '0') {
    --last;
  }

  constexpr int kPrecision = 6;
  if (exponent < -4 || exponent >= kPrecision) {
    out.Put(digits[0]);
    if (last > 0) {
      out.Put('.');
      out.Put(digits + 1, static_cast<std::size_t>(last));
    }
    out.Put('e');
    out.Put(exponent < 0 ? '-' : '+');
    const int magnitude = std::abs(exponent);  // at most 324
    out.Put(static_cast<char>('0' + magnitude / 100));
    out.Put(static_cast<char>('0' + magnitude / 10 % 10));
    out.Put(static_cast<char>('0' + magnitude % 10));
  } else if (exponent >= 0) {
    out.Put(digits, static_cast<std::size_t>(exponent) + 1);
    if (last > exponent) {
      out.Put('.');
      out.Put(digits + exponent + 1, static_cast<std::size_t>(last - exponent));
    }
  } else {
    out.Put("0.");
    for (int zeros = -exponent - 1; zeros > 0; --zeros) {
      out.Put('0');
    }
    out.Put(digits, static_cast<std::size_t>(last) + 1);
  }
  return text;
}

NumberText FormatDecimal(uint32_t bits) {
  NumberText text;
  const auto written =
      std::to_chars(text.chars, text.chars + sizeof text.chars - 1, static_cast<int32_t>(bits));
  text.length = static_cast<uint32_t>(written.ptr - text.chars);
  text.chars[text.length] = '\0';
  return text;
}

double ReadDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  // The mantissa as written; and, to tell an overflow from an underflow, the count of integer
  // digits and the index of the first non-zero digit.
  std::string number;
  long long digitCount = 0;
  long long integerDigits = 0;
  long long firstNonZero = -1;
  bool seenPoint = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      if (c != '0' && firstNonZero < 0) {
        firstNonZero = digitCount;
      }
      ++digitCount;
      integerDigits += seenPoint ? 0 : 1;
    } else if (c != '.' || seenPoint) {
      break;
    } else {
      seenPoint = true;
    }
    number += c;
  }
  if (digitCount == 0) {
    return 0.0;
  }

  // An exponent counts only with at least one digit.
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    const bool negativeExponent = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      number += negativeExponent ? "e-" : "e";
      constexpr long long kSaturated = 1000000000;
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        number += text[j];
        exponent = std::min(exponent * 10 + (text[j] - '0'), kSaturated);
      }
      exponent = negativeExponent ? -exponent : exponent;
    }
  }

  double value = 0.0;
  const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) {
    // The decimal exponent of the first non-zero digit says which way it went.
    const long long leadingPower = integerDigits - 1 - firstNonZero + exponent;
    value = leadingPower > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (parsed.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

uint32_t ReadInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  uint32_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  return negative ? 0u - value : value;
}
