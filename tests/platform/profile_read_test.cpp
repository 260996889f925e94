// Reading INI files with GetPrivateProfileStringA: how lines, names, values and buffers are read.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "test_folder.h"
#include "wine_marks.h"

namespace {

constexpr DWORD kBufferSize = 200;

struct Lookup {
  const char* section;
  const char* key;
  std::string text;  // what the call copies
};

// The answer of GetPrivateProfileStringA with a roomy buffer and "default" as the default; the
// length it returns is checked against the text it copied.
std::string ReadString(const char* section, const char* key, const std::string& file,
                       const char* defaultValue = "default") {
  char buffer[kBufferSize];
  std::memset(buffer, 'x', sizeof buffer);
  DWORD length =
      GetPrivateProfileStringA(section, key, defaultValue, buffer, kBufferSize, file.c_str());
  EXPECT_EQ(length, std::strlen(buffer))
      << "section " << (section ? section : "(null)") << ", key " << (key ? key : "(null)");
  return buffer;
}

// The same file with each of the three line ends Windows reads.
class ProfileLineEnds : public ::testing::TestWithParam<const char*> {
 protected:
  std::string FileWith(const std::string& text) {
    std::string withEnds;
    for (char c : text) {
      if (c == '\n') {
        withEnds += GetParam();
      } else {
        withEnds += c;
      }
    }
    std::string path = folder_.File("lines.ini");
    WriteBytes(path, withEnds);
    return path;
  }

  TestFolder folder_;
};

TEST_P(ProfileLineEnds, FindsKeysByTrimmedCaseBlindNames) {
  const std::string file = FileWith(
      "[section1]\n"
      "name1=val1\n"
      "name2=\"val2\"\n"
      "name3\n"
      "name4=a\n"
      "  [ spaced section ]  \n"
      "\t key one \t=  \t value one  \n"
      "equals=b=c\n"
      "=no name\n"
      "[section2]\n");
  const Lookup lookups[] = {
      {"section1", "name1", "val1"},
      {"SECTION1", "NaMe1", "val1"},
      {"  section1 ", " name1\t", "val1"},
      {"section1", "name2", "val2"},
      {"section1", "name3", "default"},  // a line without "=" is no key
      {"section1", "name4", "a"},
      {"section1", "notakey", "default"},
      {"notasection", "name1", "default"},
      {"section2", "name1", "default"},
      {"spaced section", "key one", "value one"},
      {"Spaced Section", "KEY ONE", "value one"},
      {"spaced section", "equals", "b=c"},
      {"spaced section", "no name", "default"},
  };
  for (const Lookup& lookup : lookups) {
    SCOPED_TRACE(std::string(lookup.section) + " / " + lookup.key);
    EXPECT_EQ(ReadString(lookup.section, lookup.key, file), lookup.text);
  }
}

INSTANTIATE_TEST_SUITE_P(CrLfCrAndLf, ProfileLineEnds, ::testing::Values("\r\n", "\r", "\n"));

TEST(ProfileRead, ValueInMatchingQuotesLosesThem) {
  TestFolder folder;
  const std::string file = folder.File("quotes.ini");
  const struct {
    const char* stored;
    const char* read;
  } cases[] = {
      {"\"x\"", "x"}, {"'x'", "x"},     {"\"a'b\"", "a'b"},
      {"\"\"", ""},   {"\"x'", "\"x'"}, {"'x\"", "'x\""},
      {"\"", "\""},   {"x\"", "x\""},   {"\"a\" \"b\"", "a\" \"b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    WriteBytes(file, std::string("[s]\r\nk=") + c.stored + "\r\n");
    EXPECT_EQ(ReadString("s", "k", file), c.read);
  }
}

TEST(ProfileRead, FirstMatchWins) {
  TestFolder folder;
  const std::string file = folder.File("twice.ini");
  WriteBytes(file,
             "[s]\r\nk=first\r\nK=second\r\n"
             "[S]\r\nk=third\r\n");
  EXPECT_EQ(ReadString("s", "k", file), "first");
}

TEST(ProfileRead, EmptyValueIsNotTheDefault) {
  TestFolder folder;
  const std::string file = folder.File("empty.ini");
  WriteBytes(file, "[s]\r\nempty=\r\nblank=   \r\n");
  EXPECT_EQ(ReadString("s", "empty", file), "");
  EXPECT_EQ(ReadString("s", "blank", file), "");
}

TEST(ProfileRead, MissingFileSectionOrKeyGivesTheDefault) {
  TestFolder folder;
  const std::string file = folder.File("present.ini");
  WriteBytes(file, "[s]\r\nk=v\r\n");
  const std::string missing = folder.File("missing.ini");
  EXPECT_EQ(ReadString("s", "k", missing), "default");
  EXPECT_EQ(ReadString("t", "k", file), "default");
  EXPECT_EQ(ReadString("s", "j", file), "default");
  EXPECT_FALSE(FileExists(missing));  // reading creates nothing
}

TEST(ProfileRead, DefaultRules) {
  TestFolder folder;
  const std::string file = folder.File("defaults.ini");
  WriteBytes(file, "[s]\r\nk=v\r\n");
  const struct {
    const char* defaultValue;
    const char* read;
  } cases[] = {
      {nullptr, ""},
      {"", ""},
      {"default  ", "default"},
      {"one two  ", "one two"},
      {"one two", "one two"},
      {"  lead", "  lead"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.defaultValue != nullptr ? c.defaultValue : "(null)");
    EXPECT_EQ(ReadString("s", "missing", file, c.defaultValue), c.read);
  }
}

TEST(ProfileRead, BufferSizeCutsAndTerminates) {
  TestFolder folder;
  const std::string file = folder.File("sizes.ini");
  WriteBytes(file, "[s]\r\nname1=val1\r\nname4=a\r\n");
  const struct {
    const char* key;
    DWORD size;
    DWORD result;
    const char* text;
  } cases[] = {
      {"name1", 5, 4, "val1"}, {"name1", 4, 3, "val"},   {"name1", 2, 1, "v"},
      {"name4", 1, 0, ""},     {"missing", 4, 3, "def"}, {"missing", 8, 7, "default"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " in " + std::to_string(c.size));
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetPrivateProfileStringA("s", c.key, "default", buffer, c.size, file.c_str()),
              c.result);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(buffer[c.size], 'x') << "wrote past the buffer";
  }

  char untouched[8] = "kumquat";
  EXPECT_EQ(GetPrivateProfileStringA("s", "name1", "default", untouched, 0, file.c_str()), 0u);
  EXPECT_STREQ(untouched, "kumquat");
}

TEST(ProfileRead, NullKeyListsKeysAndNullSectionListsSections) {
  TestFolder folder;
  const std::string file = folder.File("lists.ini");
  WriteBytes(file,
             "[section1]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=a\r\n"
             "[section2]\r\n");
  char buffer[64];

  std::memset(buffer, 'x', sizeof buffer);
  DWORD length =
      GetPrivateProfileStringA("section1", nullptr, "default", buffer, sizeof buffer, file.c_str());
  EXPECT_EQ(length, 18u);
  EXPECT_EQ(std::string(buffer, length + 1), std::string("name1\0name2\0name4\0\0", 19));

  std::memset(buffer, 'x', sizeof buffer);
  length =
      GetPrivateProfileStringA(nullptr, "name1", "default", buffer, sizeof buffer, file.c_str());
  EXPECT_EQ(length, 18u);
  EXPECT_EQ(std::string(buffer, length + 1), std::string("section1\0section2\0\0", 19));

  // A list that does not fit is cut and ends in two terminators.
  std::memset(buffer, 'x', sizeof buffer);
  length = GetPrivateProfileStringA("section1", nullptr, "default", buffer, 16, file.c_str());
  EXPECT_EQ(length, 14u);
  EXPECT_TRUE_TODO_WINE(std::string(buffer, 16) == std::string("name1\0name2\0na\0\0", 16));
}

}  // namespace
