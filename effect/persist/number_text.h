// The text forms of numbers in stored presets, the same on every platform: the Windows C runtime's
// "%g" and "%d" for writing, its atof for reading decimals, and the preset tree's integer reading.
#pragma once

#include <cstdint>
#include <string_view>

// A number's text, built in place; every number fits.
struct NumberText {
  char chars[32];
  uint32_t length;

  const char* c_str() const { return chars; }
  std::string_view view() const { return {chars, length}; }
};

// "%g" as the Windows C runtime writes it: six significant digits (the value's first 17 significant
// digits rounded half up to six), trailing zeros and a bare decimal point dropped, the exponent
// form when the decimal exponent is below -4 or above 5, its exponent signed and at least three
// digits long: 0.75, 1, 100000, 1e+006, 1.5e-005, 0.123457. Infinities are "1.#INF" and
// "-1.#INF"; NaNs are "1.#QNAN" or "-1.#QNAN", except the negative quiet NaN without payload, the
// processor's default NaN, which is "-1.#IND", and a signalling NaN, "1.#SNAN" or "-1.#SNAN".
NumberText FormatGeneral(double value);

// "%d" of the 32 bits read as a signed integer: 4294967295 is "-1".
NumberText FormatDecimal(uint32_t bits);

// As the Windows C runtime's atof: leading white space, an optional sign, decimal digits with an
// optional decimal point, and an optional exponent introduced by e, E, d or D; reading stops at the
// first character that does not fit. No digits read as 0. There are no hexadecimal, infinity or
// NaN forms ("0x10" reads as 0, "inf" as 0, "1.#INF" as 1). The result is the nearest double; a
// value too large for a double reads as an infinity, one too small as zero.
double ReadDecimal(std::string_view text);

// The preset tree's integer reading: leading white space, an optional sign, decimal digits up to
// the first other character, accumulated modulo 2^32 and negated for a minus sign. No digits read
// as 0. So "-1" and "4294967295" both read as 4294967295, "12abc" as 12.
uint32_t ReadInteger(std::string_view text);
