// GetPrivateProfileIntA: how an entry's text becomes an unsigned 32-bit number.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "test_folder.h"

namespace {

TEST(ProfileInt, ReadsTextAsWindowsDoes) {
  TestFolder folder;
  const std::string file = folder.File("numbers.ini");
  const std::string zeros28(28, '0');
  const struct {
    std::string stored;
    UINT read;
  } cases[] = {
      {"-1", 4294967295u},
      {"1", 1},
      {"+1", 1},
      {"4294967296", 0},
      {"4294967297", 1},
      {"-4294967297", 4294967295u},
      {"42A94967297", 42},
      {"B4294967297", 0},
      {"12abc", 12},
      {"+-1", 0},
      {"-", 0},
      {"\"42\"", 42},             // quotes go first
      {"\"  -5\"", 4294967291u},  // leading blanks are skipped
      {zeros28 + "7", 7},         // 29 characters: all count
      {zeros28 + "07", 0},        // the 30th character is never read
      {"-" + std::string(27, '0') + "12", 4294967295u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    ASSERT_TRUE(WritePrivateProfileStringA("Test", "ProfileInt", c.stored.c_str(), file.c_str()));
    // The default plays no part once the entry has text.
    EXPECT_EQ(GetPrivateProfileIntA("Test", "ProfileInt", -1, file.c_str()), c.read);
    EXPECT_EQ(GetPrivateProfileIntA("  Test ", " profileint", 1, file.c_str()), c.read);
  }
}

TEST(ProfileInt, MissingOrEmptyEntryGivesTheDefault) {
  TestFolder folder;
  const std::string file = folder.File("defaults.ini");
  const int defaults[] = {-1, 0, 1, 70};
  for (int defaultValue : defaults) {
    SCOPED_TRACE(defaultValue);
    const UINT expected = static_cast<UINT>(defaultValue);
    EXPECT_EQ(GetPrivateProfileIntA("Test", "ProfileInt", defaultValue, file.c_str()), expected);
    WriteBytes(file, "[Test]\r\nempty=\r\nquoted=\"\"\r\n");
    EXPECT_EQ(GetPrivateProfileIntA("Test", "empty", defaultValue, file.c_str()), expected);
    EXPECT_EQ(GetPrivateProfileIntA("Test", "quoted", defaultValue, file.c_str()), expected);
    EXPECT_EQ(GetPrivateProfileIntA("Test", "missing", defaultValue, file.c_str()), expected);
    EXPECT_EQ(GetPrivateProfileIntA("Other", "empty", defaultValue, file.c_str()), expected);
  }
}

}  // namespace
