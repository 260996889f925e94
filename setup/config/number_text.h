// Numbers as the configuration document stores them: decimal text for integers, six significant
// digits for doubles. Written once here so that every reader and writer of a document agrees, on
// every platform and with any C library.
#pragma once

#include <cstdint>
#include <string>

// The C library's atol over 32 bits: leading white space (blank, tab, line feed, vertical tab, form
// feed, carriage return) skipped, an optional sign, then decimal digits up to the first other
// character; no digits give 0. A number beyond the 32-bit range answers the nearest end of the
// range (as strtol does) instead of wrapping around. Null reads as "".
int32_t ReadLong(const char* text);

// Decimal text, with a leading minus sign when negative.
std::string FormatLong(int32_t value);

// Six significant digits. Decimal exponents -1 to 5 are written in fixed notation, others as
// d.ddddde+XXX with a sign and three exponent digits. Trailing zeros of the fraction are dropped
// but the decimal point stays: 1 is "1.", 0.5 is "0.5", 1234567 is "1.23457e+006", 0.01 is
// "1.e-002". Infinities and NaN are written "inf", "-inf" and "nan".
std::string FormatDouble(double value);
