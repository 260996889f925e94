// UTF-8 <-> UTF-16 conversion as Windows does it (CP_UTF8 here, so that both tiers run the same
// cases), including its treatment of ill-formed input.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "wine_marks.h"

namespace {

using Units = std::vector<unsigned>;

Units Decode(const std::string& bytes, int length, DWORD flags, int* result, DWORD* error) {
  WCHAR buffer[16];
  for (WCHAR& unit : buffer) unit = 0x7F7F;
  SetLastError(0xBEAF);
  *result = MultiByteToWideChar(CP_UTF8, flags, bytes.data(), length, buffer, 16);
  *error = GetLastError();
  Units units;
  for (int i = 0; i < 16 && buffer[i] != 0x7F7F; ++i) units.push_back(buffer[i]);
  return units;
}

}  // namespace

TEST(CodePage, IllFormedUtf8BecomesOneReplacementPerMaximalPrefix) {
  struct Case {
    const char* name;
    std::string bytes;
    int length;
    Units units;
  };
  const Case cases[] = {
      {"plain", "ab", 2, {'a', 'b'}},
      {"with NUL", std::string("a\0b", 3), 3, {'a', 0, 'b'}},
      {"terminated", "a", -1, {'a', 0}},
      {"two-byte", "\xC3\xA9", 2, {0xE9}},
      {"three-byte", "\xE4\xB8\xAD", 3, {0x4E2D}},
      {"four-byte", "\xF0\x9F\x98\x80", 4, {0xD83D, 0xDE00}},
      {"invalid lead", "\xC0", 2, {0xFFFD, 0}},
      {"invalid leads and a stray", "\xC0\xC0\x80", 4, {0xFFFD, 0xFFFD, 0xFFFD, 0}},
      {"lead without continuation", "\xE0\xC0", 3, {0xFFFD, 0xFFFD, 0}},
      {"lead, blank, lead", "\xE0\x20\xC0", 4, {0xFFFD, 0x20, 0xFFFD, 0}},
      {"stray continuations", "\x82\xA0\x82\xA2", -1, {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0}},
      {"truncated at the end", "\xE6", 1, {0xFFFD}},
      {"five-byte form", "\xF8\xA3\xA3\xA3\xA3", 5, {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int result;
    DWORD error;
    const Units units = Decode(c.bytes, c.length, 0, &result, &error);
    EXPECT_EQ(result, static_cast<int>(c.units.size()));
    EXPECT_EQ(error, 0xBEAFu) << "success leaves the last error alone";
    EXPECT_EQ(units, c.units);
    WCHAR unused;
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, c.bytes.data(), c.length, &unused, 0), result)
        << "size query";
  }
}

TEST(CodePage, StrictDecodingRefusesIllFormedInput) {
  for (const std::string bytes : {"\xC0", "\xE0\xC0", "\xE6", "a\x80"}) {
    SCOPED_TRACE(bytes.size());
    int result;
    DWORD error;
    Decode(bytes, static_cast<int>(bytes.size()), MB_ERR_INVALID_CHARS, &result, &error);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  }
  int result;
  DWORD error;
  EXPECT_EQ(Decode("\xC3\xA9", 2, MB_ERR_INVALID_CHARS, &result, &error), (Units{0xE9}));
}

TEST(CodePage, DecodingFailsOnBadArgumentsAndShortBuffers) {
  WCHAR buffer[4];
  struct Case {
    const char* name;
    const char* text;
    int length;
    DWORD flags;
    int size;
    DWORD error;
  };
  const Case cases[] = {
      {"no input", nullptr, 2, 0, 4, ERROR_INVALID_PARAMETER},
      {"zero length", "ab", 0, 0, 4, ERROR_INVALID_PARAMETER},
      {"negative size", "ab", 2, 0, -1, ERROR_INVALID_PARAMETER},
      {"unknown flag", "ab", 2, 0x100, 4, ERROR_INVALID_FLAGS},
      {"short buffer", "abcdef", 6, 0, 4, ERROR_INSUFFICIENT_BUFFER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, c.flags, c.text, c.length, buffer, c.size), 0);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(buffer[0], 'a') << "a short buffer holds what fitted";
  EXPECT_EQ(buffer[3], 'd');
}

TEST(CodePage, EncodesPairsAndReplacesLoneSurrogates) {
  struct Case {
    const char* name;
    std::vector<WCHAR> units;
    std::string bytes;
  };
  const Case cases[] = {
      {"ascii", {'o', 'k'}, "ok"},
      {"latin", {0xE9}, "\xC3\xA9"},
      {"han", {0x4E2D}, "\xE4\xB8\xAD"},
      {"pair", {0xD83D, 0xDE00}, "\xF0\x9F\x98\x80"},
      {"lone high",
       {'a', 0xD800, 'b'},
       "a\xEF\xBF\xBD"
       "b"},
      {"lone low", {0xDC00}, "\xEF\xBF\xBD"},
      {"swapped pair", {0xDE00, 0xD83D}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"embedded NUL", {'a', 0, 'b'}, std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int length = static_cast<int>(c.units.size());
    char buffer[32];
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, c.units.data(), length, nullptr, 0, nullptr, nullptr),
              static_cast<int>(c.bytes.size()));
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, c.units.data(), length, buffer, 32, nullptr, nullptr);
    EXPECT_EQ(std::string(buffer, written > 0 ? written : 0), c.bytes);
  }
}

TEST(CodePage, EncodingFailsOnBadArgumentsStrictModeAndShortBuffers) {
  const WCHAR text[] = {'a', 0xD800, 'b'};
  const WCHAR han[] = {0x4E2D, 0x4E2D};
  char buffer[8] = {};
  BOOL used = FALSE;
  struct Case {
    const char* name;
    DWORD flags;
    int length;
    int size;
    BOOL* usedDefault;
    DWORD error;
    // Wine 8 accepts flags and a default-character argument that Windows refuses with UTF-8.
    bool wineDiffers = false;
  };
  const Case cases[] = {
      {"strict with a lone surrogate", WC_ERR_INVALID_CHARS, 3, 8, nullptr,
       ERROR_NO_UNICODE_TRANSLATION},
      {"default character asked for", 0, 3, 8, &used, ERROR_INVALID_PARAMETER, true},
      {"zero length", 0, 0, 8, nullptr, ERROR_INVALID_PARAMETER},
      {"flag UTF-8 has no use for", WC_NO_BEST_FIT_CHARS, 3, 8, nullptr, ERROR_INVALID_FLAGS, true},
      {"negative size", 0, 3, -1, nullptr, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(0);
    const int result = WideCharToMultiByte(CP_UTF8, c.flags, text, c.length, buffer, c.size,
                                           nullptr, c.usedDefault);
    const DWORD error = GetLastError();
    if (c.wineDiffers) {
      EXPECT_TRUE_TODO_WINE(result == 0 && error == c.error);
    } else {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(error, c.error);
    }
  }
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, han, 2, buffer, 4, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(buffer, 3), "\xE4\xB8\xAD") << "whole characters that fitted";
}

TEST(CodePage, AnsiCodePageConvertsAsTheCodePageItNames) {
  const std::string bytes = "plain \xC3\xA9\xE9";
  WCHAR viaAnsi[16];
  WCHAR viaNumber[16];
  const int ansi =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), viaAnsi, 16);
  const int numbered =
      MultiByteToWideChar(GetACP(), 0, bytes.data(), static_cast<int>(bytes.size()), viaNumber, 16);
  ASSERT_GT(ansi, 0);
  ASSERT_EQ(ansi, numbered);
  EXPECT_EQ(std::basic_string<WCHAR>(viaAnsi, ansi), std::basic_string<WCHAR>(viaNumber, numbered));
}
