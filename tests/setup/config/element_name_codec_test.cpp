#include "config/element_name_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct CodecCase {
  const char* name;
  const char* element;
};

TEST(ElementNameCodec, EncodesLettersAndInnerDigitsAsThemselvesAndEverythingElseAsHexPairs) {
  const CodecCase cases[] = {
      {"common", "common"},
      {"my key", "my_20key"},
      {"a_b", "a_5Fb"},
      {"2nd", "_32nd"},
      {"7zip", "_37zip"},
      {"x9", "x9"},
      {"Version", "Version"},
      {"a.b-c", "a_2Eb_2Dc"},
      {"_", "_5F"},
      {"\xE9t\xE9", "_E9t_E9"},
      {"\x7F\x80\xFF", "_7F_80_FF"},
      {"/", "_2F"},
  };
  for (const CodecCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EncodeName(c.name), std::optional<std::string>(c.element));
  }
}

TEST(ElementNameCodec, DecodesHexPairsInEitherCaseAndKeepsAnUnderscoreWithoutTwoHexDigits) {
  const CodecCase cases[] = {
      {"my key", "my_20key"}, {"7zip", "_37zip"},   {"/", "_2f"},     {"/", "_2F"},
      {"a_zb", "a_zb"},       {"a_2z", "a_2z"},     {"a_2", "a_2"},   {"_", "_"},
      {"a_", "a_"},           {"_A", "__41"},       {"_5F", "_5F5F"}, {"\xE9t", "_e9t"},
      {"a_g0", "a_g0"},       {"common", "common"},
  };
  for (const CodecCase& c : cases) {
    SCOPED_TRACE(c.element);
    EXPECT_EQ(DecodeName(c.element), std::optional<std::string>(c.name));
  }
}

TEST(ElementNameCodec, EveryByteSurvivesTheRoundTripInEveryPosition) {
  for (int byte = 1; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    for (const std::string& name :
         {std::string(1, c), "a" + std::string(1, c) + "b", "z" + std::string(1, c)}) {
      SCOPED_TRACE(byte);
      const std::optional<std::string> element = EncodeName(name.c_str());
      ASSERT_TRUE(element.has_value());
      EXPECT_EQ(DecodeName(element->c_str()), std::optional<std::string>(name));
    }
  }
}

TEST(ElementNameCodec, NamesWithoutAnElementFormAreRefused) {
  EXPECT_EQ(EncodeName(""), std::nullopt);
  EXPECT_EQ(EncodeName(nullptr), std::nullopt);
  EXPECT_EQ(DecodeName(""), std::nullopt);
  EXPECT_EQ(DecodeName(nullptr), std::nullopt);
  // A NUL byte would end the decoded name early and make it another name.
  EXPECT_EQ(DecodeName("a_00b"), std::nullopt);
}

// Both forms are built in 1024-byte buffers with the NUL: 1023 bytes fit, one more does not. A cut
// name would stand for another name, so the name has no form at all.
TEST(ElementNameCodec, FormsLongerThan1023BytesAreRefusedNotCut) {
  struct BoundCase {
    std::string name;
    bool fits;
  };
  const BoundCase encodeCases[] = {
      {std::string(1023, 'k'), true},
      {std::string(1024, 'k'), false},
      {std::string(341, ' '), true},  // 341 * 3 = 1023
      {std::string(342, ' '), false},
      {"7" + std::string(1020, 'k'), true},  // "_37" and 1020 letters
      {"7" + std::string(1021, 'k'), false},
  };
  for (const BoundCase& c : encodeCases) {
    SCOPED_TRACE(c.name.size());
    const std::optional<std::string> element = EncodeName(c.name.c_str());
    EXPECT_EQ(element.has_value(), c.fits);
    if (element) {
      EXPECT_LE(element->size(), kMaxElementNameLength);
    }
  }

  std::string hexRun;
  for (int i = 0; i < 400; ++i) {
    hexRun += "_41";
  }
  const BoundCase decodeCases[] = {
      {std::string(1023, 'k'), true},
      {std::string(1024, 'k'), false},
      {hexRun, true},  // 1200 bytes decode to 400
      {std::string(5000, 'k'), false},
  };
  for (const BoundCase& c : decodeCases) {
    SCOPED_TRACE(c.name.size());
    const std::optional<std::string> name = DecodeName(c.name.c_str());
    EXPECT_EQ(name.has_value(), c.fits);
  }
  EXPECT_EQ(DecodeName(hexRun.c_str()), std::optional<std::string>(std::string(400, 'A')));
}

}  // namespace
