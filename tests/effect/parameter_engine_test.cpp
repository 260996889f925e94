// The persistence engine over the preset tree, and what holds in every store: token rules, store
// selection, every type tag.
#include "persist/parameter_engine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "persist/preset_tree.h"
#include "persist/preset_values.h"
#include "persist/shared_string.h"

namespace {

using Children = std::vector<std::pair<std::string, std::string>>;

class TreeEngine : public ::testing::Test {
 protected:
  ~TreeEngine() override { DestroyNodeLinks(root_); }

  Children Values() const {
    Children children;
    for (PresetNodeBase* child = root_.firstChild; child != nullptr; child = child->nextSibling) {
      const PresetNode& node = *reinterpret_cast<PresetNode*>(child);
      const PresetAttribute* value = FindAttribute(node, "Value");
      children.emplace_back(View(node.name), value != nullptr ? View(value->value) : "-");
    }
    return children;
  }

  void SetText(const char* child, const char* text) {
    SharedStringHolder value(MakeString(text));
    SetString(root_, child, value.get());
  }

  PresetNodeBase root_{};
};

const char* const kNames[] = {"a", "b", "c", "d"};

}  // namespace

TEST_F(TreeEngine, EveryTokenTakesOneNameAndOnePointer) {
  const struct {
    const char* types;
    Children written;
  } cases[] = {
      {"DWORD DWORD ", {{"a", "1"}, {"b", "2"}}},  // a blank at the end adds no token
      {"DWORD  DWORD", {{"a", "1"}, {"c", "3"}}},  // two blanks: an empty token in between
      {" DWORD", {{"b", "2"}}},                    // a blank at the start: an empty first token
      {"dword Dword uInt iNt", {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}},
      {"DWORD BOGUS DWORD", {{"a", "1"}, {"c", "3"}}},
      {"DWORDS DWORD", {{"b", "2"}}},
      {"", {}},
      {" ", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.types + "\"");
    DestroyNodeLinks(root_);
    uint32_t v[4] = {1, 2, 3, 4};
    EXPECT_EQ(WriteParameters(nullptr, nullptr, nullptr, &root_, kNames, c.types, &v[0], &v[1],
                              &v[2], &v[3]),
              1u);
    EXPECT_EQ(Values(), c.written);

    // Reading walks the tokens the same way.
    for (const char* name : kNames) {
      SetUInt(root_, name, 10);
    }
    uint32_t r[4] = {0, 0, 0, 0};
    ReadParameters(nullptr, nullptr, nullptr, &root_, kNames, c.types, &r[0], &r[1], &r[2], &r[3]);
    for (std::size_t i = 0; i < 4; ++i) {
      bool named = false;
      for (const auto& child : c.written) {
        named = named || child.first == kNames[i];
      }
      EXPECT_EQ(r[i], named ? 10u : 0u) << kNames[i];
    }
  }
}

TEST_F(TreeEngine, TypeStringsLongerThanTheCopyBufferAreWalkedWhole) {
  const std::string longTag(1500, 'X');
  const std::string types = longTag + " DWORD " + std::string(1023, 'Y') + " DWORD";
  uint32_t v[4] = {1, 2, 3, 4};
  WriteParameters(nullptr, nullptr, nullptr, &root_, kNames, types.c_str(), &v[0], &v[1], &v[2],
                  &v[3]);
  EXPECT_EQ(Values(), (Children{{"b", "2"}, {"d", "4"}}));
}

TEST_F(TreeEngine, ANullNameSkipsItsToken) {
  const char* const names[] = {"a", nullptr, "c"};
  uint32_t v[3] = {1, 2, 3};
  WriteParameters(nullptr, nullptr, nullptr, &root_, names, "DWORD DWORD DWORD", &v[0], &v[1],
                  &v[2]);
  EXPECT_EQ(Values(), (Children{{"a", "1"}, {"c", "3"}}));
}

TEST_F(TreeEngine, SevenTagsWriteTheirTextsAndReadThemBack) {
  const char* const names[] = {"u", "w", "i", "f", "d", "s", "l"};
  const char* const types = "UINT DWORD INT FLOAT DOUBLE STRING LSS";
  uint32_t u = 4294967295u;
  uint32_t w = 75;
  int32_t i = -5;
  float f = 0.1234567f;
  double d = 1e20;
  SharedStringHolder s(MakeString("a preset"));
  uint8_t bytes[] = {0x01, 0x02, 0xAB};
  LssBlock l{3, bytes};
  EXPECT_EQ(WriteParameters(nullptr, nullptr, nullptr, &root_, names, types, &u, &w, &i, &f, &d,
                            &s.get(), &l),
            1u);
  EXPECT_EQ(Values(), (Children{{"u", "-1"},
                                {"w", "75"},
                                {"i", "-5"},
                                {"f", "0.123457"},
                                {"d", "1e+020"},
                                {"s", "a preset"},
                                {"SIZE_LSS_l", "3"},
                                {"DATA_LSS_l", "0102AB"}}));

  uint32_t u2 = 0;
  uint32_t w2 = 0;
  int32_t i2 = 0;
  float f2 = 0;
  double d2 = 0;
  SharedStringHolder s2{};
  LssBlock l2{0, nullptr};
  ReadParameters(nullptr, nullptr, nullptr, &root_, names, types, &u2, &w2, &i2, &f2, &d2,
                 &s2.get(), &l2);
  EXPECT_EQ(u2, 4294967295u);
  EXPECT_EQ(w2, 75u);
  EXPECT_EQ(i2, -5);
  EXPECT_EQ(f2, static_cast<float>(0.123457));
  EXPECT_EQ(d2, 1e20);
  EXPECT_EQ(View(s2.get()), "a preset");
  EXPECT_EQ(s2.get().chars, s.get().chars);  // shared through the tree
  ASSERT_EQ(l2.size, 3u);
  ASSERT_NE(l2.data, nullptr);
  EXPECT_EQ(std::memcmp(l2.data, bytes, 3), 0);
  std::free(l2.data);
}

TEST_F(TreeEngine, MissingValuesKeepTheirVariablesExceptByteBlocks) {
  const char* const names[] = {"u", "i", "f", "d", "s", "l"};
  uint32_t u = 7;
  int32_t i = -7;
  float f = 0.1234567f;
  double d = 0.1234567;
  SharedStringHolder s(MakeString("kept"));
  uint8_t kept = 0;
  LssBlock l{1, &kept};
  SetText("Unrelated", "1");
  ReadParameters(nullptr, nullptr, nullptr, &root_, names, "UINT INT FLOAT DOUBLE STRING LSS", &u,
                 &i, &f, &d, &s.get(), &l);
  EXPECT_EQ(u, 7u);
  EXPECT_EQ(i, -7);
  EXPECT_EQ(f, 0.1234567f);
  EXPECT_EQ(d, 0.1234567);
  EXPECT_EQ(View(s.get()), "kept");
  EXPECT_EQ(l.size, 0u);
  EXPECT_EQ(l.data, nullptr);
}

TEST_F(TreeEngine, ByteBlocksTakeTheStoredSizeAndWhatTheTextHolds) {
  const struct {
    const char* size;  // SIZE_LSS_l; null: missing
    const char* data;  // DATA_LSS_l; null: missing
    uint32_t loadedSize;
    bool allocated;
    std::vector<uint8_t> leading;  // the first bytes of the block
  } cases[] = {
      {"4", "0A0B0C0D", 4, true, {0x0A, 0x0B, 0x0C, 0x0D}},
      {"4", "0a0B1", 4, true, {0x0A, 0x0B}},  // the rest is as the allocation gave it
      {"2", "0A0B0C0D", 2, true, {0x0A, 0x0B}},
      {"2", nullptr, 2, true, {}},
      {"0", "0A", 0, true, {}},  // a new allocation, also for 0 bytes
      {"junk", "0A", 0, true, {}},
      {"-1", "0A", 0, false, {}},  // 4294967295 bytes cannot be had: an empty block
      {"2147483648", "0A", 0, false, {}},
      {nullptr, "0A", 0, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.size ? c.size : "(none)") + " / " + (c.data ? c.data : "(none)"));
    DestroyNodeLinks(root_);
    if (c.size != nullptr) {
      SetText("SIZE_LSS_l", c.size);
    }
    if (c.data != nullptr) {
      SetText("DATA_LSS_l", c.data);
    }
    const char* const names[] = {"l"};
    uint8_t previous = 0;
    LssBlock l{1, &previous};
    ReadParameters(nullptr, nullptr, nullptr, &root_, names, "LSS", &l);
    EXPECT_EQ(l.size, c.loadedSize);
    EXPECT_EQ(l.data != nullptr, c.allocated);
    EXPECT_NE(l.data, &previous);
    if (l.data != nullptr && !c.leading.empty()) {
      EXPECT_EQ(std::vector<uint8_t>(l.data, l.data + c.leading.size()), c.leading);
    }
    std::free(l.data);
  }
}

TEST_F(TreeEngine, ABlockWithoutBytesIsSavedEmpty) {
  const char* const names[] = {"l"};
  LssBlock l{5, nullptr};
  WriteParameters(nullptr, nullptr, nullptr, &root_, names, "LSS", &l);
  EXPECT_EQ(Values(), (Children{{"SIZE_LSS_l", "0"}, {"DATA_LSS_l", ""}}));
}

TEST(ParameterEngine, WithoutAStoreNothingIsReadOrWritten) {
  const char* const names[] = {"a"};
  uint32_t value = 5;
  EXPECT_EQ(WriteParameters(nullptr, "Section", nullptr, nullptr, names, "DWORD", &value), 1u);
  ReadParameters(nullptr, "Section", nullptr, nullptr, names, "DWORD", &value);
  EXPECT_EQ(value, 5u);
}
