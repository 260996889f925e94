#include "persist/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

double FromBits(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

TEST(NumberText, GeneralFormatHasSixDigitsAndThreeDigitExponents) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "-0"},
      {1.0, "1"},
      {0.75, "0.75"},
      {static_cast<double>(0.75f), "0.75"},
      {static_cast<double>(0.1f), "0.1"},
      {static_cast<double>(0.1234567f), "0.123457"},
      {-2.5, "-2.5"},
      {100000.0, "100000"},
      {999999.0, "999999"},
      {999999.5, "1e+006"},  // rounding carries into the exponent form
      {1e6, "1e+006"},
      {1e20, "1e+020"},
      {1.5e-5, "1.5e-005"},
      {0.0001, "0.0001"},
      {0.00012345678, "0.000123457"},
      {0.00001, "1e-005"},
      {123456789.0, "1.23457e+008"},
      {4294967295.0, "4.29497e+009"},
      {1234565.0, "1.23457e+006"},  // an exact tie rounds up
      {1234564.5, "1.23456e+006"},
      {12345.65, "12345.7"},  // stored just below ...65, but its 17 digits end in ...650000
      {1e308, "1e+308"},
      {-1.7976931348623157e308, "-1.79769e+308"},
      {4.9406564584124654e-324, "4.94066e-324"},
      {2.2250738585072014e-308, "2.22507e-308"},
      {std::numeric_limits<double>::infinity(), "1.#INF"},
      {-std::numeric_limits<double>::infinity(), "-1.#INF"},
      {FromBits(0xFFF8000000000000u), "-1.#IND"},
      {FromBits(0x7FF8000000000000u), "1.#QNAN"},
      {FromBits(0xFFF8000000000001u), "-1.#QNAN"},
      {FromBits(0x7FF0000000000001u), "1.#SNAN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const NumberText text = FormatGeneral(c.value);
    EXPECT_EQ(text.view(), c.text);
    EXPECT_EQ(std::strlen(text.c_str()), text.length);
  }
}

TEST(NumberText, DecimalIsTheSignedReadingOfTheBits) {
  const struct {
    uint32_t bits;
    const char* text;
  } cases[] = {
      {0u, "0"},           {75u, "75"}, {2147483647u, "2147483647"}, {2147483648u, "-2147483648"},
      {4294967295u, "-1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatDecimal(c.bits).view(), c.text);
    EXPECT_EQ(std::string(FormatDecimal(c.bits).c_str()), c.text);
  }
}

TEST(NumberText, DecimalReadingFollowsTheWindowsRuntime) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0.123457", 0.123457},
      {"  \t\n-2.5", -2.5},
      {"+7", 7.0},
      {"1e+020", 1e20},
      {"1.5e-005", 1.5e-5},
      {"1E3", 1000.0},
      {"1d2", 100.0},  // the runtime's Fortran-style exponent
      {"1D-2", 0.01},
      {".5", 0.5},
      {"5.", 5.0},
      {"1e", 1.0},  // an exponent needs a digit
      {"1e+", 1.0},
      {"2.5x7", 2.5},
      {"1.2.3", 1.2},
      {"", 0.0},
      {"-", 0.0},
      {".", 0.0},
      {"abc", 0.0},
      {"0x10", 0.0},  // no hexadecimal form
      {"inf", 0.0},   // no infinity or NaN forms
      {"nan", 0.0},
      {"1.#INF", 1.0},
      {"-1.#IND", -1.0},
      {"1e400", inf},
      {"-1e400", -inf},
      {"123456789e99999999999999", inf},
      {"1e-400", 0.0},
      {"0.000000000000000000000000001e-300", 0.0},
      {"100000000000000000000000000000e-330", 1e-301},
      {"000000000000000000000000000001", 1.0},
      {"0.30000000000000004", 0.30000000000000004},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadDecimal(c.text), c.value);
  }
  EXPECT_TRUE(std::signbit(ReadDecimal("-0")));
  EXPECT_TRUE(std::signbit(ReadDecimal("-1e-400")));
  EXPECT_EQ(ReadDecimal(std::string_view("12", 1)), 1.0);  // the view's length is the end
}

TEST(NumberText, EveryGeneralTextReadsBackToItsSixDigits) {
  for (double value : {0.1234567, 98765.4321, 1.0 / 3.0, 6.02214076e23, -1.60217663e-19}) {
    SCOPED_TRACE(value);
    const double back = ReadDecimal(FormatGeneral(value).view());
    EXPECT_NEAR(back, value, std::fabs(value) * 5e-6);
    EXPECT_EQ(FormatGeneral(back).view(), FormatGeneral(value).view());
  }
}

TEST(NumberText, IntegerReading) {
  const struct {
    const char* text;
    uint32_t value;
  } cases[] = {
      {"0", 0u},           {"42", 42u},
      {"-1", 4294967295u}, {"4294967295", 4294967295u},
      {"4294967296", 0u},  {"-4294967297", 4294967295u},
      {"12abc", 12u},      {" \t+3", 3u},
      {"+-3", 0u},         {"", 0u},
      {"x1", 0u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadInteger(c.text), c.value);
  }
}
