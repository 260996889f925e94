// WritePrivateProfileStringA: the exact text it leaves in the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "test_folder.h"
#include "wine_marks.h"

namespace {

class ProfileWrite : public ::testing::Test {
 protected:
  BOOL Write(const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, file_.c_str());
  }
  std::string Text() const { return ReadBytes(file_); }

  TestFolder folder_;
  const std::string file_ = folder_.File("written.ini");
};

TEST_F(ProfileWrite, BuildsAndTrimsAFileStepByStep) {
  ASSERT_TRUE(Write("App1", "key1", "string1"));
  EXPECT_EQ(Text(), "[App1]\r\nkey1=string1\r\n");  // a new file: exactly this, nothing else
  ASSERT_TRUE(Write("App1", "key2", "string2"));
  ASSERT_TRUE(Write("App1", "key3", "string3"));
  ASSERT_TRUE(Write("App2", "key4", "string4"));
  ASSERT_TRUE(Write("App3", "key5", "string5"));

  const struct {
    const char* section;
    const char* key;
    const char* value;
    const char* text;
  } steps[] = {
      {"App1", "key2", "changed",
       "[App1]\r\nkey1=string1\r\nkey2=changed\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
       "[App3]\r\nkey5=string5\r\n"},
      {"app1", "KEY2", "  again",  // names ignore case; the value loses its leading blanks
       "[App1]\r\nkey1=string1\r\nkey2=again\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
       "[App3]\r\nkey5=string5\r\n"},
      {"App1", "key2", nullptr,  // a null value deletes the key
       "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
       "[App3]\r\nkey5=string5\r\n"},
      {"App1", "key2", nullptr,  // deleting it again changes nothing
       "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
       "[App3]\r\nkey5=string5\r\n"},
      {"App1", nullptr, "string1",  // a null key deletes the section
       "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
      {"App2", nullptr, nullptr, "[App3]\r\nkey5=string5\r\n"},
      {"App3", "key5", nullptr, "[App3]\r\n"},
      {"App3", "empty", "", "[App3]\r\nempty=\r\n"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.text);
    EXPECT_TRUE(Write(step.section, step.key, step.value));
    EXPECT_EQ(Text(), step.text);
  }
}

TEST_F(ProfileWrite, NewKeyGoesToTheEndOfItsSectionAndCommentsStay) {
  WriteBytes(file_,
             "; file comment\r\n"
             "[s]\r\n"
             "; about a\r\n"
             "a=1\r\n"
             "[t]\r\n"
             "b=2\r\n");
  ASSERT_TRUE(Write("s", "c", "3"));
  EXPECT_EQ(Text(),
            "; file comment\r\n"
            "[s]\r\n"
            "; about a\r\n"
            "a=1\r\n"
            "c=3\r\n"
            "[t]\r\n"
            "b=2\r\n");
  ASSERT_TRUE(Write("u", "d", "4"));
  EXPECT_EQ(Text(),
            "; file comment\r\n"
            "[s]\r\n"
            "; about a\r\n"
            "a=1\r\n"
            "c=3\r\n"
            "[t]\r\n"
            "b=2\r\n"
            "[u]\r\n"
            "d=4\r\n");
}

TEST_F(ProfileWrite, ReadsBackWhatItWrote) {
  const struct {
    const char* key;
    const char* value;
    const char* read;
  } cases[] = {
      {"plain", "value", "value"},
      {"inner", "a = b ; c", "a = b ; c"},
      {"number", "-1", "-1"},
      {"lead", "\t  x", "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    ASSERT_TRUE(Write("s", c.key, c.value));
    char buffer[64];
    GetPrivateProfileStringA("s", c.key, "default", buffer, sizeof buffer, file_.c_str());
    EXPECT_STREQ(buffer, c.read);
  }
}

TEST_F(ProfileWrite, NullSectionAndEmptyFileNameFail) {
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(Write(nullptr, "key", "string"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(FileExists(file_));

  SetLastError(0xdeadbeef);
  EXPECT_FALSE(WritePrivateProfileStringA("App", "key", "string", ""));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(ProfileWrite, DeletingFromAMissingFileLeavesAnEmptyFile) {
  EXPECT_TRUE(Write("App", nullptr, "string"));
  EXPECT_TRUE_TODO_WINE(FileExists(file_) && Text().empty());
  EXPECT_TRUE(Write("App", "key", nullptr));
  EXPECT_EQ(Text(), "");
}

TEST_F(ProfileWrite, FileInAMissingFolderFails) {
  const std::string inMissing = folder_.File("no-such-folder") + "/file.ini";
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", inMissing.c_str()));
  EXPECT_FALSE(FileExists(inMissing));
}

TEST(ProfileStruct, WritesHexWithChecksumAndReadsItBack) {
  TestFolder folder;
  const std::string file = folder.File("struct.ini");
  char unread[20];
  EXPECT_FALSE(GetPrivateProfileStructA("s", "key", unread, sizeof unread, file.c_str()));

  ASSERT_TRUE(WritePrivateProfileStructA("s", "key", const_cast<char*>("abacus"), 7, file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[s]\r\nkey=616261637573006F\r\n");

  char buffer[20];
  for (UINT wrongSize : {6u, 8u}) {
    SCOPED_TRACE(wrongSize);
    std::memset(buffer, 0xcc, sizeof buffer);
    EXPECT_FALSE(GetPrivateProfileStructA("s", "key", buffer, wrongSize, file.c_str()));
    // Wine decodes into the buffer before it finds the length wrong.
    EXPECT_TRUE_TODO_WINE(static_cast<unsigned char>(buffer[0]) == 0xcc);
  }
  std::memset(buffer, 0xcc, sizeof buffer);
  EXPECT_TRUE(GetPrivateProfileStructA("S", "KEY", buffer, 7, file.c_str()));
  EXPECT_STREQ(buffer, "abacus");
  EXPECT_EQ(static_cast<unsigned char>(buffer[7]), 0xcc);
}

TEST(ProfileStruct, RejectsTextThatIsNotItsForm) {
  TestFolder folder;
  const std::string file = folder.File("struct.ini");
  const struct {
    const char* stored;
    bool accepted;
  } cases[] = {
      {"6361637475730083", true},    // "cactus\0" and its sum
      {"636163747573006F", false},   // the sum of another text
      {"636163747573008Q", false},   // not a hex digit
      {"16361637475730083", false},  // one digit too many
      {"636163747573008", false},    // one digit too few
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    ASSERT_TRUE(WritePrivateProfileStringA("s", "key", c.stored, file.c_str()));
    char buffer[8];
    std::memset(buffer, 0xcc, sizeof buffer);
    EXPECT_EQ(GetPrivateProfileStructA("s", "key", buffer, 7, file.c_str()) != FALSE, c.accepted);
    if (c.accepted) {
      EXPECT_STREQ(buffer, "cactus");
    } else {
      EXPECT_TRUE_TODO_WINE(static_cast<unsigned char>(buffer[0]) == 0xcc);
    }
  }
}

TEST(ProfileStruct, NullDataDeletesTheKey) {
  TestFolder folder;
  const std::string file = folder.File("struct.ini");
  ASSERT_TRUE(WritePrivateProfileStructA("s", "key", const_cast<char*>("abacus"), 7, file.c_str()));
  EXPECT_TRUE(WritePrivateProfileStructA("s", "key", nullptr, 7, file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[s]\r\n");
}

TEST(ProfileStruct, EveryByteValueSurvives) {
  TestFolder folder;
  const std::string file = folder.File("bytes.ini");
  unsigned char all[256];
  for (int i = 0; i < 256; ++i) {
    all[i] = static_cast<unsigned char>(255 - i);
  }
  ASSERT_TRUE(WritePrivateProfileStructA("s", "DATA", all, sizeof all, file.c_str()));
  unsigned char back[256] = {};
  ASSERT_TRUE(GetPrivateProfileStructA("s", "DATA", back, sizeof back, file.c_str()));
  EXPECT_EQ(std::memcmp(all, back, sizeof all), 0);
}

}  // namespace
