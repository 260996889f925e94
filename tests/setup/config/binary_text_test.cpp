#include "config/binary_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(BinaryText, WritesSizeAndByteSumLittleEndianThenTheBytes) {
  const uint8_t three[] = {0x01, 0x02, 0xFF};
  EXPECT_EQ(EncodeBinary(three, 3), "03000000020100000102FF");
  EXPECT_EQ(EncodeBinary(nullptr, 0), "0000000000000000");

  std::vector<uint8_t> all(256);
  for (int i = 0; i < 256; ++i) {
    all[i] = static_cast<uint8_t>(i);
  }
  const std::string text = EncodeBinary(all.data(), 256);
  // 256 bytes summing to 32640 (0x7F80).
  EXPECT_EQ(text.substr(0, 16), "00010000807F0000");
  EXPECT_EQ(text.substr(16, 6), "000102");
  EXPECT_EQ(text.substr(text.size() - 4), "FEFF");
}

TEST(BinaryText, ReadsOnlyAWellFormedValueOfTheAskedSize) {
  struct Case {
    const char* label;
    const char* text;
    uint32_t size;
    bool accepted;
  };
  const Case cases[] = {
      {"exact", "03000000020100000102FF", 3, true},
      {"lower-case digits", "03000000020100000102ff", 3, true},
      {"asked for fewer bytes", "03000000020100000102FF", 2, false},
      {"asked for more bytes", "03000000020100000102FF", 4, false},
      {"size field differs", "04000000020100000102FF", 3, false},
      {"byte sum differs", "03000000030100000102FF", 3, false},
      {"data changed", "03000000020100000103FF", 3, false},
      {"not hexadecimal", "0300000002010000010GFF", 3, false},
      {"odd length", "03000000020100000102FF0", 3, false},
      {"empty", "", 3, false},
      {"truncated header", "0300", 3, false},
      {"empty data", "0000000000000000", 0, true},
      {"empty with size asked", "0000000000000000", 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    uint8_t buffer[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(DecodeBinary(c.text, buffer, c.size), c.accepted);
    if (c.accepted && c.size == 3) {
      EXPECT_EQ(buffer[0], 0x01);
      EXPECT_EQ(buffer[1], 0x02);
      EXPECT_EQ(buffer[2], 0xFF);
      EXPECT_EQ(buffer[3], 0xAA);
    }
    if (!c.accepted) {
      // A refused value never reaches the caller half-copied.
      for (uint8_t b : buffer) {
        EXPECT_EQ(b, 0xAA);
      }
    }
  }
}

TEST(BinaryText, SizesNearTheTopOfTheRangeDoNotWrapAround) {
  uint8_t buffer[1] = {0};
  // 8 header bytes plus 0xFFFFFFF8 would wrap to 0 in 32 bits and accept the empty text.
  EXPECT_FALSE(DecodeBinary("", buffer, 0xFFFFFFF8u));
  EXPECT_FALSE(DecodeBinary("0000000000000000", buffer, 0xFFFFFFFFu));
  EXPECT_FALSE(DecodeBinary(nullptr, buffer, 1));
}

TEST(BinaryText, EveryByteValueSurvivesTheRoundTrip) {
  std::vector<uint8_t> data(300);
  for (size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<uint8_t>(i * 7 + 3);
  }
  const std::string text = EncodeBinary(data.data(), static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> back(data.size());
  ASSERT_TRUE(DecodeBinary(text.c_str(), back.data(), static_cast<uint32_t>(back.size())));
  EXPECT_EQ(back, data);
}

}  // namespace
