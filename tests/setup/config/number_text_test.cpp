#include "config/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

TEST(NumberText, ReadsIntegersAsAtolDoes) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {
      {"42", 42},
      {"42abc", 42},
      {" -7", -7},
      {"\t\r\n\v\f 12", 12},
      {"+5", 5},
      {"007", 7},
      {"1e5", 1},
      {"0x10", 0},
      {"abc", 0},
      {"", 0},
      {"- 5", 0},
      {"--5", 0},
      {"+-5", 0},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      // Out of range: the nearest end, never a wrapped value.
      {"2147483648", INT32_MAX},
      {"-2147483649", INT32_MIN},
      {"4294967297", INT32_MAX},
      {"99999999999999999999999999", INT32_MAX},
      {"-99999999999999999999999999", INT32_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadLong(c.text), c.value);
  }
  EXPECT_EQ(ReadLong(nullptr), 0);
}

TEST(NumberText, WritesIntegersAsDecimalText) {
  EXPECT_EQ(FormatLong(0), "0");
  EXPECT_EQ(FormatLong(42), "42");
  EXPECT_EQ(FormatLong(-7), "-7");
  EXPECT_EQ(FormatLong(INT32_MIN), "-2147483648");
  EXPECT_EQ(FormatLong(INT32_MAX), "2147483647");
}

TEST(NumberText, WritesDoublesWithSixSignificantDigitsAndAThreeDigitExponent) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0.0, "0."},
      {1.0, "1."},
      {-1.0, "-1."},
      {0.5, "0.5"},
      {0.1, "0.1"},
      {-0.25, "-0.25"},
      {1.5, "1.5"},
      {3.14159265, "3.14159"},
      {0.123456789, "0.123457"},
      {123.456, "123.456"},
      {12345.67, "12345.7"},
      {100000.0, "100000."},
      {123456.0, "123456."},
      {999999.4, "999999."},
      // Rounding moves the exponent out of the fixed range.
      {999999.5, "1.e+006"},
      {1234567.0, "1.23457e+006"},
      {1e6, "1.e+006"},
      {0.099999999, "0.1"},
      {0.0999994, "9.99994e-002"},
      {0.01, "1.e-002"},
      {-2.5e-5, "-2.5e-005"},
      {1e100, "1.e+100"},
      {1e-300, "1.e-300"},
      {1.7976931348623157e308, "1.79769e+308"},
      {4.9406564584124654e-324, "4.94066e-324"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatDouble(c.value), c.text);
  }
}

}  // namespace
