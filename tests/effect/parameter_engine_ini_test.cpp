// The persistence engine over INI files, through the platform's profile functions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "persist/parameter_engine.h"
#include "persist/shared_string.h"
#include "scratch_folder.h"

namespace {

class IniEngine : public ::testing::Test {
 protected:
  std::string Text() const { return ScratchFolder::ReadFile(path_); }
  void SetText(const std::string& text) const { folder_.WriteFile("presets.ini", text); }

  ScratchFolder folder_;
  const std::string path_ = (folder_.root() / "presets.ini").string();
};

const char* const kAllNames[] = {"u", "w", "i", "f", "d", "s", "l"};
const char kAllTypes[] = "UINT DWORD INT FLOAT DOUBLE STRING LSS";

}  // namespace

TEST_F(IniEngine, SevenTagsWriteTheirTextsAndReadThemBack) {
  uint32_t u = 4294967295u;
  uint32_t w = 75;
  int32_t i = -5;
  float f = 0.1234567f;
  double d = 1e20;
  SharedStringHolder s(MakeString("a preset"));
  uint8_t bytes[] = {0x01, 0x02, 0xAB};
  LssBlock l{3, bytes};
  EXPECT_EQ(WriteParameters(path_.c_str(), "Preset", nullptr, nullptr, kAllNames, kAllTypes, &u, &w,
                            &i, &f, &d, &s.get(), &l),
            1u);
  EXPECT_EQ(Text(),
            "[Preset]\r\n"
            "u=-1\r\n"
            "w=75\r\n"
            "i=-5\r\n"
            "f=0.123457\r\n"
            "d=1e+020\r\n"
            "s=a preset\r\n"
            "SIZE_LSS_l=3\r\n"
            "DATA_LSS_l=0102ABAE\r\n");  // the struct functions add the byte sum

  uint32_t u2 = 0;
  uint32_t w2 = 0;
  int32_t i2 = 0;
  float f2 = 0;
  double d2 = 0;
  SharedStringHolder s2{};
  LssBlock l2{0, nullptr};
  ReadParameters(path_.c_str(), "preset", nullptr, nullptr, kAllNames, kAllTypes, &u2, &w2, &i2,
                 &f2, &d2, &s2.get(), &l2);
  EXPECT_EQ(u2, 4294967295u);
  EXPECT_EQ(w2, 75u);
  EXPECT_EQ(i2, -5);
  EXPECT_EQ(f2, static_cast<float>(0.123457));
  EXPECT_EQ(d2, 1e20);
  EXPECT_EQ(View(s2.get()), "a preset");
  ASSERT_EQ(l2.size, 3u);
  ASSERT_NE(l2.data, nullptr);
  EXPECT_EQ(std::memcmp(l2.data, bytes, 3), 0);
  std::free(l2.data);
}

TEST_F(IniEngine, MissingValuesFollowTheStoresRules) {
  SetText("[Preset]\r\nother=1\r\n");
  for (const char* section : {"Preset", "Absent"}) {
    SCOPED_TRACE(section);
    uint32_t u = 7;
    uint32_t w = 8;
    int32_t i = -7;
    float f = 0.1234567f;
    double d = 0.1234567;
    SharedStringHolder s(MakeString("emptied"));
    uint8_t previous = 0;
    LssBlock l{1, &previous};
    ReadParameters(path_.c_str(), section, nullptr, nullptr, kAllNames, kAllTypes, &u, &w, &i, &f,
                   &d, &s.get(), &l);
    EXPECT_EQ(u, 7u);
    EXPECT_EQ(w, 8u);
    EXPECT_EQ(i, -7);
    EXPECT_EQ(f, static_cast<float>(0.123457));  // its own six-digit text read back
    EXPECT_EQ(d, 0.123457);
    EXPECT_EQ(View(s.get()), "");
    EXPECT_EQ(l.size, 0u);
    EXPECT_NE(l.data, nullptr);  // a new allocation of 0 bytes
    EXPECT_NE(l.data, &previous);
    std::free(l.data);
  }
}

TEST_F(IniEngine, StringsOfAnyLengthAreWrittenAndReadWhole) {
  const char* const names[] = {"s"};
  for (std::size_t length : {31u, 32u, 100u, 1023u, 1024u, 5000u}) {
    SCOPED_TRACE(length);
    std::string text;
    for (std::size_t k = 0; k < length; ++k) {
      text += static_cast<char>('a' + k % 26);
    }
    SharedStringHolder s(MakeString(text));
    WriteParameters(path_.c_str(), "Preset", nullptr, nullptr, names, "STRING", &s.get());
    EXPECT_EQ(Text(), "[Preset]\r\ns=" + text + "\r\n");
    SharedStringHolder back{};
    ReadParameters(path_.c_str(), "Preset", nullptr, nullptr, names, "STRING", &back.get());
    EXPECT_EQ(View(back.get()), text);
  }
}

TEST_F(IniEngine, StoredTextsThatAreNotNumbers) {
  SetText(
      "[Preset]\r\n"
      "u=12abc\r\n"
      "w=-1\r\n"
      "i=junk\r\n"
      "f=abc\r\n"
      "d=0x10\r\n");
  uint32_t u = 1;
  uint32_t w = 1;
  int32_t i = 1;
  float f = 1;
  double d = 1;
  ReadParameters(path_.c_str(), "Preset", nullptr, nullptr, kAllNames,
                 "UINT DWORD INT FLOAT DOUBLE", &u, &w, &i, &f, &d);
  EXPECT_EQ(u, 12u);
  EXPECT_EQ(w, 4294967295u);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(d, 0.0);
}

TEST_F(IniEngine, ByteBlocksThatDoNotMatchTheirSize) {
  const struct {
    const char* entries;
    uint32_t loadedSize;
    bool allocated;
    bool bytesLoaded;
  } cases[] = {
      {"SIZE_LSS_l=3\r\nDATA_LSS_l=0102ABAE\r\n", 3, true, true},
      {"SIZE_LSS_l=2\r\nDATA_LSS_l=0102ABAE\r\n", 2, true, false},  // length does not match
      {"SIZE_LSS_l=3\r\nDATA_LSS_l=0102ABAF\r\n", 3, true, false},  // sum does not match
      {"SIZE_LSS_l=3\r\nDATA_LSS_l=01G2ABAE\r\n", 3, true, false},  // not a hex digit
      {"SIZE_LSS_l=3\r\n", 3, true, false},
      {"SIZE_LSS_l=-1\r\nDATA_LSS_l=00\r\n", 0, false, false},  // 4294967295 bytes: refused
  };
  const char* const names[] = {"l"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entries);
    SetText(std::string("[Preset]\r\n") + c.entries);
    LssBlock l{0, nullptr};
    ReadParameters(path_.c_str(), "Preset", nullptr, nullptr, names, "LSS", &l);
    EXPECT_EQ(l.size, c.loadedSize);
    EXPECT_EQ(l.data != nullptr, c.allocated);
    if (c.bytesLoaded) {
      const uint8_t expected[] = {0x01, 0x02, 0xAB};
      EXPECT_EQ(std::memcmp(l.data, expected, 3), 0);
    }
    std::free(l.data);
  }
}

TEST_F(IniEngine, TokensThatNameNoTypeWriteNothing) {
  const char* const names[] = {"a", "b", "c", "d"};
  uint32_t v[4] = {1, 2, 3, 4};
  WriteParameters(path_.c_str(), "Preset", nullptr, nullptr, names, "DWORD BOGUS  dword", &v[0],
                  &v[1], &v[2], &v[3]);
  EXPECT_EQ(Text(), "[Preset]\r\na=1\r\nd=4\r\n");
}

TEST_F(IniEngine, AFileThatCannotBeWrittenAnswersZero) {
  const std::string missingFolder = (folder_.root() / "missing" / "presets.ini").string();
  const char* const names[] = {"a", "b"};
  uint32_t v[2] = {1, 2};
  EXPECT_EQ(WriteParameters(missingFolder.c_str(), "Preset", nullptr, nullptr, names, "DWORD DWORD",
                            &v[0], &v[1]),
            0u);
  // Nothing to write is no failure.
  EXPECT_EQ(
      WriteParameters(missingFolder.c_str(), "Preset", nullptr, nullptr, names, "BOGUS", &v[0]),
      1u);
}

TEST_F(IniEngine, ANullSectionAddressesNothing) {
  const char* const names[] = {"a"};
  uint32_t value = 5;
  EXPECT_EQ(WriteParameters(path_.c_str(), nullptr, nullptr, nullptr, names, "DWORD", &value), 0u);
  EXPECT_EQ(Text(), "");
  SetText("[Preset]\r\na=9\r\n");
  ReadParameters(path_.c_str(), nullptr, nullptr, nullptr, names, "DWORD", &value);
  EXPECT_EQ(value, 5u);
}
