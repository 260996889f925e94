// wsprintfA: the conversions the libraries use and the 1024-byte output limit.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

struct Formatted {
  int result;
  std::string text;
};

template <typename... Arguments>
Formatted Format(const char* format, Arguments... arguments) {
  char buffer[1100];
  std::memset(buffer, 'x', sizeof buffer);
  int result = wsprintfA(buffer, format, arguments...);
  return {result, buffer};
}

TEST(Wsprintf, IntegerConversions) {
  const struct {
    const char* format;
    int value;
    const char* text;
  } cases[] = {
      {"%d", 42, "42"},         {"%d", -42, "-42"},      {"%i", -2147483647 - 1, "-2147483648"},
      {"%u", -1, "4294967295"}, {"%x", 255, "ff"},       {"%X", 255, "FF"},
      {"%x", -1, "ffffffff"},   {"%#x", 255, "0xff"},    {"%#X", 255, "0XFF"},
      {"%5d", 42, "   42"},     {"%-5d|", 42, "42   |"}, {"%05d", 42, "00042"},
      {"%05d", -42, "-0042"},   {"%.3d", 7, "007"},      {"%ld", -7, "-7"},
      {"%lu", 7, "7"},          {"[%d]", 0, "[0]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    Formatted formatted = Format(c.format, c.value);
    EXPECT_EQ(formatted.text, c.text);
    EXPECT_EQ(formatted.result, static_cast<int>(std::strlen(c.text)));
  }
}

TEST(Wsprintf, TextConversions) {
  const struct {
    const char* format;
    const char* value;
    const char* text;
  } cases[] = {
      {"%s", "abc", "abc"},
      {"Tonecraft 7.0 %s", "Pro", "Tonecraft 7.0 Pro"},
      {"Tonecraft 7.0 %s", "", "Tonecraft 7.0 "},
      {"%s", nullptr, "(null)"},
      {"%5s", "ab", "   ab"},
      {"%-5s|", "ab", "ab   |"},
      {"%.2s", "abcdef", "ab"},
      {"%hs", "narrow", "narrow"},
      {"100%%", "unused", "100%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    Formatted formatted = Format(c.format, c.value);
    EXPECT_EQ(formatted.text, c.text);
    EXPECT_EQ(formatted.result, static_cast<int>(std::strlen(c.text)));
  }
  EXPECT_EQ(Format("%c%c", 'o', 'k').text, "ok");
  EXPECT_EQ(Format("%s=%d", "DelL", 18).text, "DelL=18");
}

TEST(Wsprintf, OutputStopsAtTheLimit) {
  const std::string longText(2000, 'a');
  char buffer[1100];
  std::memset(buffer, 'x', sizeof buffer);
  int result = wsprintfA(buffer, "%s", longText.c_str());
  // The text is cut to fit 1024 bytes with its terminator; versions differ in the count they
  // answer for cut output (1023 or 1024), never in what they store.
  EXPECT_EQ(std::strlen(buffer), 1023u);
  EXPECT_EQ(std::string(buffer, 1023), longText.substr(0, 1023));
  EXPECT_GE(result, 1023);
  EXPECT_LE(result, 1024);
  EXPECT_EQ(std::string(buffer + 1024, 76), std::string(76, 'x')) << "wrote past 1024 bytes";
}

}  // namespace
