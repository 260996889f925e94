// The in-memory model and its typed access, reached through the ConfigStore interface as its users
// reach it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "config/config_document.h"

namespace {

std::vector<std::string> SectionNames(const ConfigStore& store) {
  std::vector<std::string> names;
  for (uint32_t i = 0; i < store.GetSectionCount(); ++i) {
    names.push_back(store.GetSectionName(i));
  }
  return names;
}

std::vector<std::string> KeyNames(const ConfigDocument& document, const char* section) {
  std::vector<std::string> keys;
  const ConfigSection* found = document.FindSection(section);
  for (uint32_t i = 0; found != nullptr && i < found->GetEntryCount(); ++i) {
    keys.push_back(found->GetKeyName(i));
  }
  return keys;
}

using Names = std::vector<std::string>;

TEST(ConfigStore, NamesMatchRegardlessOfAsciiCaseAndKeepTheirFirstSpelling) {
  ConfigDocument document;
  ConfigStore& store = document;
  store.SetString("Common", "ID", "1");
  store.SetString("COMMON", "id", "2");
  EXPECT_EQ(SectionNames(store), Names({"Common"}));
  EXPECT_EQ(KeyNames(document, "common"), Names({"ID"}));
  EXPECT_STREQ(store.GetString("cOmMoN", "Id", "x"), "2");
  // Only ASCII letters fold: bytes from 0x80 up must be equal.
  store.SetString("\xC9t\xC9", "k", "upper");
  store.SetString("\xE9t\xE9", "k", "lower");
  EXPECT_EQ(store.GetSectionCount(), 3u);
  EXPECT_STREQ(store.GetString("\xC9T\xC9", "K", ""), "upper");
}

TEST(ConfigStore, GetStringAnswersTheStoredTextOrTheDefaultPointerItself) {
  ConfigDocument document;
  ConfigStore& store = document;
  store.SetString("s", "empty", "");
  store.SetString("s", "null", nullptr);
  const char* fallback = "fallback";
  EXPECT_STREQ(store.GetString("s", "empty", fallback), "");
  EXPECT_STREQ(store.GetString("s", "null", fallback), "");
  EXPECT_EQ(store.GetString("s", "missing", fallback), fallback);
  EXPECT_EQ(store.GetString("missing", "empty", fallback), fallback);
  // Never null, not even for a null default.
  ASSERT_NE(store.GetString("s", "missing", nullptr), nullptr);
  EXPECT_STREQ(store.GetString("s", "missing", nullptr), "");
  // Null names count as "".
  store.SetString(nullptr, nullptr, "v");
  EXPECT_STREQ(store.GetString("", "", "x"), "v");
}

TEST(ConfigStore, OrderIsCreationOrderAndARecreatedSectionGoesToTheEnd) {
  ConfigDocument document;
  ConfigStore& store = document;
  for (const char* section : {"a", "b", "c"}) {
    store.SetString(section, "k1", "1");
    store.SetString(section, "k2", "2");
    store.SetString(section, "k3", "3");
  }
  store.SetString("b", "K2", "two");  // replacing keeps the place
  store.DeleteKey("B", "k1");
  EXPECT_EQ(KeyNames(document, "b"), Names({"k2", "k3"}));
  EXPECT_STREQ(store.GetString("b", "k2", ""), "two");
  store.DeleteKey("b", "missing");
  store.DeleteKey("missing", "k2");
  EXPECT_EQ(KeyNames(document, "b"), Names({"k2", "k3"}));

  store.DeleteSection("A");
  EXPECT_EQ(SectionNames(store), Names({"b", "c"}));
  store.SetString("a", "k", "v");
  EXPECT_EQ(SectionNames(store), Names({"b", "c", "a"}));
  store.DeleteSection("missing");
  EXPECT_EQ(store.GetSectionCount(), 3u);
  EXPECT_EQ(store.GetSectionName(3), nullptr);
  EXPECT_EQ(store.GetSectionName(UINT32_MAX), nullptr);
  EXPECT_EQ(document.FindSection("b")->GetKeyName(2), nullptr);
}

TEST(ConfigStore, IntegersAndFlagsReadAsAtolAndAnswerTheirDefaultsWhenAbsent) {
  ConfigDocument document;
  ConfigStore& store = document;
  struct Case {
    const char* text;
    int32_t asInt;
    int32_t asBool;
  };
  const Case cases[] = {
      {"42abc", 42, 1}, {" -7", -7, 1}, {"abc", 0, 0}, {"", 0, 0}, {"0", 0, 0}, {"00x", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    store.SetString("n", "v", c.text);
    EXPECT_EQ(store.GetInt("n", "v", 99), c.asInt);
    EXPECT_EQ(store.GetBool("n", "v", 99), c.asBool);
  }
  EXPECT_EQ(store.GetInt("n", "missing", 99), 99);
  EXPECT_EQ(store.GetBool("n", "missing", 99), 99);  // the default unchanged, not folded to 1

  store.SetInt("n", "neg", -2147483647 - 1);
  EXPECT_STREQ(store.GetString("n", "neg", ""), "-2147483648");
  store.SetBool("n", "flag", 5);  // stored exactly as SetInt would
  EXPECT_STREQ(store.GetString("n", "flag", ""), "5");
  EXPECT_EQ(store.GetBool("n", "flag", 0), 1);
}

TEST(ConfigStore, GetIntInRangeAnswersTheDefaultOutsideTheRange) {
  ConfigDocument document;
  ConfigStore& store = document;
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {{"5", 5}, {"1", 1}, {"10", 10}, {"0", -1}, {"11", -1}, {"x", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    store.SetString("r", "v", c.text);
    EXPECT_EQ(store.GetIntInRange("r", "v", -1, 1, 10), c.expected);
  }
  // An absent key yields the default even when the default itself lies outside.
  EXPECT_EQ(store.GetIntInRange("r", "missing", 50, 1, 10), 50);
}

TEST(ConfigStore, DoublesAreStoredWithSixDigitsAndReadBackByAtof) {
  ConfigDocument document;
  ConfigStore& store = document;
  const double values[] = {0.0, 1.0, -0.25, 3.14159265, 1234567.0, 0.01, 1e-300, -6.02214076e23};
  for (double value : values) {
    SCOPED_TRACE(value);
    store.SetDouble("d", "v", value);
    const double back = store.GetDouble("d", "v", 99.0);
    EXPECT_NEAR(back, value, std::fabs(value) * 5e-6);
  }
  store.SetDouble("d", "v", 1234567.0);
  EXPECT_STREQ(store.GetString("d", "v", ""), "1.23457e+006");
  store.SetString("d", "v", "not a number");
  EXPECT_EQ(store.GetDouble("d", "v", 99.0), 0.0);
  EXPECT_EQ(store.GetDouble("d", "missing", 99.0), 99.0);
}

TEST(ConfigStore, BinaryValuesCarryTheirSizeAndByteSum) {
  ConfigDocument document;
  ConfigStore& store = document;
  const uint8_t data[] = {0x01, 0x02, 0xFF};
  store.SetBinary("b", "v", data, sizeof data);
  EXPECT_STREQ(store.GetString("b", "v", ""), "03000000020100000102FF");

  uint8_t back[3] = {};
  EXPECT_EQ(store.GetBinary("b", "v", back, 3), 1);
  EXPECT_EQ(std::vector<uint8_t>(back, back + 3), std::vector<uint8_t>(data, data + 3));
  uint8_t wrongSize[2] = {0x55, 0x55};
  EXPECT_EQ(store.GetBinary("b", "v", wrongSize, 2), 0);
  EXPECT_EQ(wrongSize[0], 0x55);
  EXPECT_EQ(store.GetBinary("b", "missing", back, 3), 0);
  EXPECT_EQ(store.GetBinary("b", "v", nullptr, 3), 0);

  store.SetBinary("b", "v", nullptr, 3);  // nothing to describe: the value stays
  EXPECT_STREQ(store.GetString("b", "v", ""), "03000000020100000102FF");
  store.SetBinary("b", "empty", nullptr, 0);
  EXPECT_EQ(store.GetBinary("b", "empty", nullptr, 0), 1);
}

TEST(ConfigStore, ClearEmptiesTheDocumentAndMarksItUnloadedButKeepsThePath) {
  ConfigDocument document;
  EXPECT_EQ(document.IsUnloaded(), 1);
  document.SetPath("C:\\kept.xml");
  document.SetString("s", "k", "v");
  document.Clear();
  EXPECT_EQ(document.GetSectionCount(), 0u);
  EXPECT_EQ(document.IsUnloaded(), 1);
  EXPECT_EQ(document.GetPath(), "C:\\kept.xml");
}

TEST(ConfigStore, ADocumentMadeOnTheHeapIsDestroyedThroughItsHandlerBase) {
  ConfigDocument* document = new ConfigDocument;
  document->SetString("s", "k", std::string(1000, 'v').c_str());
  SaxHandlerBase* base = document;
  delete base;  // the sanitizer build reports a leak if the sections survive
}

}  // namespace
