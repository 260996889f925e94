#include "persist/preset_values.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "persist/preset_tree.h"
#include "persist/shared_string.h"

namespace {

class PresetValues : public ::testing::Test {
 protected:
  ~PresetValues() override { DestroyNodeLinks(root_); }

  // A child with one attribute `attribute`=`text`.
  PresetNode* AddValue(const char* child, const char* text, const char* attribute = "Value") {
    SharedStringHolder name(MakeString(child));
    PresetNode* node = AddChild(root_, name.get());
    SharedStringHolder value(MakeString(text));
    SetAttribute(*node, attribute, value.get());
    return node;
  }

  std::string ValueText(const char* child) {
    PresetNode* node = FindChild(root_, child);
    if (node == nullptr) {
      ADD_FAILURE() << "no child " << child;
      return {};
    }
    PresetAttribute* value = FindAttribute(*node, "Value");
    return value != nullptr ? std::string(View(value->value)) : "<no Value>";
  }

  PresetNodeBase root_{};
};

}  // namespace

TEST_F(PresetValues, SettersWriteTheTextForms) {
  SetFloat(root_, "f1", 0.75f);
  SetFloat(root_, "f2", 0.1234567f);
  SetDouble(root_, "d1", 1.0);
  SetDouble(root_, "d2", 1e20);
  SetDouble(root_, "d3", 1.5e-5);
  SetUInt(root_, "u1", 4294967295u);
  SetUInt(root_, "u2", 2147483648u);
  SetInt(root_, "i1", -5);
  SetInt(root_, "i2", 42);
  const struct {
    const char* child;
    const char* text;
  } expected[] = {
      {"f1", "0.75"}, {"f2", "0.123457"},    {"d1", "1"},  {"d2", "1e+020"}, {"d3", "1.5e-005"},
      {"u1", "-1"},   {"u2", "-2147483648"}, {"i1", "-5"}, {"i2", "42"},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.child);
    EXPECT_EQ(ValueText(e.child), e.text);
  }
  // New children go last, in the order they were set.
  EXPECT_EQ(View(reinterpret_cast<PresetNode*>(root_.firstChild)->name), "f1");
  EXPECT_EQ(View(reinterpret_cast<PresetNode*>(root_.lastChild)->name), "i2");
}

TEST_F(PresetValues, IntegerTextsReadModulo2To32) {
  const struct {
    const char* text;
    uint32_t value;
  } cases[] = {
      {"4294967295", 4294967295u},
      {"-1", 4294967295u},
      {"12abc", 12u},
      {"  +7", 7u},
      {"\t-0", 0u},
      {"abc", 0u},
      {"", 0u},
      {"4294967296", 0u},
      {"4294967297", 1u},
      {"- 5", 0u},
      {"0x10", 0u},
      {"007", 7u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    DestroyNodeLinks(root_);
    AddValue("n", c.text);
    uint32_t value = 99;
    EXPECT_TRUE(GetUInt(root_, "n", value));
    EXPECT_EQ(value, c.value);
    int32_t signedValue = 99;
    EXPECT_TRUE(GetInt(root_, "N", signedValue));
    EXPECT_EQ(signedValue, static_cast<int32_t>(c.value));
  }
}

TEST_F(PresetValues, DecimalTextsReadAsByAtof) {
  AddValue("f", "0.123457");
  AddValue("d", "1e+020");
  AddValue("bad", "not a number");
  float f = 0;
  EXPECT_TRUE(GetFloat(root_, "f", f));
  EXPECT_EQ(f, static_cast<float>(0.123457));  // the nearest float to the double read
  double d = 0;
  EXPECT_TRUE(GetDouble(root_, "d", d));
  EXPECT_EQ(d, 1e20);
  EXPECT_TRUE(GetDouble(root_, "bad", d));
  EXPECT_EQ(d, 0.0);
  EXPECT_TRUE(GetFloat(root_, "bad", f));
  EXPECT_EQ(f, 0.0f);
}

TEST_F(PresetValues, GettersLeaveTheVariableWithoutChildOrValue) {
  AddValue("NoValue", "5", "Other");
  uint32_t u = 7;
  int32_t i = -7;
  float f = 0.5f;
  double d = 0.25;
  SharedStringHolder s(MakeString("kept"));
  uint8_t block[2] = {0xEE, 0xEE};
  for (const char* name : {"Missing", "NoValue"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(GetUInt(root_, name, u));
    EXPECT_FALSE(GetInt(root_, name, i));
    EXPECT_FALSE(GetFloat(root_, name, f));
    EXPECT_FALSE(GetDouble(root_, name, d));
    EXPECT_FALSE(GetString(root_, name, s.get()));
    EXPECT_EQ(GetData(root_, name, block, 2), 0u);
  }
  EXPECT_EQ(u, 7u);
  EXPECT_EQ(i, -7);
  EXPECT_EQ(f, 0.5f);
  EXPECT_EQ(d, 0.25);
  EXPECT_EQ(View(s.get()), "kept");
  EXPECT_EQ(block[0], 0xEE);
  EXPECT_EQ(block[1], 0xEE);
}

TEST_F(PresetValues, SetterAppendsValueAfterTheChildsOtherAttributes) {
  PresetNode* child = AddValue("f", "x", "Other");
  SetFloat(root_, "F", 2.5f);
  ASSERT_EQ(child->attributes.end - child->attributes.begin, 2);
  EXPECT_EQ(View(child->attributes.begin[0].name), "Other");
  EXPECT_EQ(View(child->attributes.begin[1].name), "Value");
  EXPECT_EQ(View(child->attributes.begin[1].value), "2.5");
  EXPECT_EQ(root_.firstChild, root_.lastChild);  // no second child
}

TEST_F(PresetValues, FirstOfTwoChildrenDifferingInCaseIsReadAndReplaced) {
  AddValue("voll", "1");
  AddValue("VolL", "2");
  for (const char* name : {"voll", "VolL"}) {
    uint32_t value = 0;
    EXPECT_TRUE(GetUInt(root_, name, value));
    EXPECT_EQ(value, 1u) << name;
  }
  SetUInt(root_, "VOLL", 3);
  EXPECT_EQ(ValueText("voll"), "3");
  auto* second = reinterpret_cast<PresetNode*>(root_.lastChild);
  EXPECT_EQ(View(second->attributes.begin[0].value), "2");
}

TEST_F(PresetValues, CapitalisedValueAttributeIsReadAndKeepsItsSpelling) {
  PresetNode* child = AddValue("DelL", "18", "VALUE");
  uint32_t value = 0;
  EXPECT_TRUE(GetUInt(root_, "DelL", value));
  EXPECT_EQ(value, 18u);
  SetUInt(root_, "DelL", 50);
  ASSERT_EQ(child->attributes.end - child->attributes.begin, 1);
  EXPECT_EQ(View(child->attributes.begin[0].name), "VALUE");
  EXPECT_EQ(View(child->attributes.begin[0].value), "50");
}

TEST_F(PresetValues, SetOnAnEmptyNodeCreatesOneChildWithOneValue) {
  SetUInt(root_, "DryOut", 75);
  ASSERT_NE(root_.firstChild, nullptr);
  ASSERT_EQ(root_.firstChild, root_.lastChild);
  auto* child = reinterpret_cast<PresetNode*>(root_.firstChild);
  EXPECT_EQ(child->base.parent, &root_);
  EXPECT_EQ(child->base.operations, &PluginNodeOperations());
  EXPECT_EQ(View(child->name), "DryOut");
  ASSERT_EQ(child->attributes.end - child->attributes.begin, 1);
  EXPECT_EQ(View(child->attributes.begin[0].name), "Value");
  EXPECT_EQ(View(child->attributes.begin[0].value), "75");
}

TEST_F(PresetValues, StringsAreSharedBothWays) {
  SharedStringHolder text(MakeString("a preset name"));
  SetString(root_, "Name", text.get());
  PresetAttribute* value = FindAttribute(*FindChild(root_, "Name"), "Value");
  EXPECT_EQ(value->value.chars, text.get().chars);
  SharedStringHolder out{};
  EXPECT_TRUE(GetString(root_, "name", out.get()));
  EXPECT_EQ(out.get().chars, text.get().chars);
  EXPECT_EQ(ShareCountOf(text.get()), 2);
}

TEST_F(PresetValues, DataIsWrittenAsUpperCaseHexPairs) {
  const struct {
    std::vector<uint8_t> bytes;
    const char* text;
  } cases[] = {
      {{0x01, 0xAB}, "01AB"},
      {{}, ""},
      {{0x00, 0xFF, 0x10, 0x9F}, "00FF109F"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SetData(root_, "DATA_LSS_x", c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
    EXPECT_EQ(ValueText("DATA_LSS_x"), c.text);
  }
  EXPECT_EQ(root_.firstChild, root_.lastChild);  // replaced each time
}

TEST_F(PresetValues, DataReadsWhatTheTextAndTheBlockBothHold) {
  const struct {
    const char* text;
    uint32_t size;
    uint32_t count;
    std::vector<uint8_t> block;  // after the call, from a block of 0xEE
  } cases[] = {
      {"0a0B1", 4, 2, {0x0A, 0x0B, 0xEE, 0xEE}},  // odd last character ignored
      {"01AB", 4, 2, {0x01, 0xAB, 0xEE, 0xEE}},
      {"01ab", 2, 2, {0x01, 0xAB}},
      {"01AB02", 2, 2, {0x01, 0xAB}},  // the block is the limit
      {"", 2, 0, {0xEE, 0xEE}},
      {"7", 2, 0, {0xEE, 0xEE}},
      // Not hex: code minus 55, low four bits: 'z' 67 -> 3, 'G' 16 -> 0, ' ' -23 -> 9.
      {"zG  ", 2, 2, {0x30, 0x99}},
      {"0102", 0, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    DestroyNodeLinks(root_);
    AddValue("DATA_LSS_x", c.text);
    std::vector<uint8_t> block(c.size, 0xEE);
    EXPECT_EQ(GetData(root_, "data_lss_X", block.data(), c.size), c.count);
    EXPECT_EQ(block, c.block);
  }
}

TEST_F(PresetValues, DecodingGivesTheValueStorageOfItsOwn) {
  PresetNode* child = AddValue("DATA_LSS_x", "0102");
  SharedStringHolder sharer{};
  ASSERT_TRUE(GetString(root_, "DATA_LSS_x", sharer.get()));
  SharedString& value = child->attributes.begin[0].value;
  ASSERT_EQ(value.chars, sharer.get().chars);

  uint8_t block[2] = {};
  EXPECT_EQ(GetData(root_, "DATA_LSS_x", block, 2), 2u);
  EXPECT_NE(value.chars, sharer.get().chars);
  EXPECT_EQ(ShareCountOf(value), kUnshareable);
  EXPECT_EQ(ShareCountOf(sharer.get()), 0);
  EXPECT_EQ(View(value), "0102");
}
