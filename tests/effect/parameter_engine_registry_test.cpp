// The persistence engine over the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "persist/parameter_engine.h"
#include "persist/preset_tree.h"
#include "persist/shared_string.h"
#include "persist/unique_handle.h"
#include "scratch_registry_key.h"

namespace {

using Bytes = std::vector<uint8_t>;

template <typename T>
Bytes BytesOf(const T& value) {
  Bytes bytes(sizeof value);
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

const char* const kAllNames[] = {"u", "w", "i", "f", "d", "s", "l"};
const char kAllTypes[] = "UINT DWORD INT FLOAT DOUBLE STRING LSS";

class RegistryEngine : public ::testing::Test {
 protected:
  ScratchRegistryKey key_;
};

}  // namespace

TEST_F(RegistryEngine, SevenTagsWriteTheirBytesAndReadThemBack) {
  uint32_t u = 4294967295u;
  uint32_t w = 0x12345678;
  int32_t i = -5;
  float f = 0.1234567f;
  double d = 1e20;
  SharedStringHolder s(MakeString("a preset"));
  uint8_t bytes[] = {0x01, 0x02, 0xAB};
  LssBlock l{3, bytes};
  EXPECT_EQ(WriteParameters(nullptr, key_.path(), HKEY_CURRENT_USER, nullptr, kAllNames, kAllTypes,
                            &u, &w, &i, &f, &d, &s.get(), &l),
            1u);
  const struct {
    const char* name;
    DWORD type;
    Bytes bytes;
  } stored[] = {
      {"u", REG_NONE, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"w", REG_NONE, {0x78, 0x56, 0x34, 0x12}},  // little-endian
      {"i", REG_NONE, {0xFB, 0xFF, 0xFF, 0xFF}},
      {"f", REG_NONE, BytesOf(f)},
      {"d", REG_NONE, BytesOf(d)},
      {"s", REG_SZ, {'a', ' ', 'p', 'r', 'e', 's', 'e', 't', 0}},
      {"SIZE_LSS_l", REG_NONE, {3, 0, 0, 0}},
      {"DATA_LSS_l", REG_BINARY, {0x01, 0x02, 0xAB}},
  };
  for (const auto& e : stored) {
    SCOPED_TRACE(e.name);
    const ScratchRegistryKey::Value value = key_.Query(e.name);
    ASSERT_TRUE(value.found);
    EXPECT_EQ(value.type, e.type);
    EXPECT_EQ(value.bytes, e.bytes);
  }
  EXPECT_FALSE(key_.Query("l").found);  // nothing under the block's own name

  uint32_t u2 = 0;
  uint32_t w2 = 0;
  int32_t i2 = 0;
  float f2 = 0;
  double d2 = 0;
  SharedStringHolder s2{};
  LssBlock l2{0, nullptr};
  ReadParameters(nullptr, key_.path(), HKEY_CURRENT_USER, nullptr, kAllNames, kAllTypes, &u2, &w2,
                 &i2, &f2, &d2, &s2.get(), &l2);
  EXPECT_EQ(u2, u);
  EXPECT_EQ(w2, w);
  EXPECT_EQ(i2, i);
  EXPECT_EQ(f2, f);
  EXPECT_EQ(d2, d);
  EXPECT_EQ(View(s2.get()), "a preset");
  ASSERT_EQ(l2.size, 3u);
  ASSERT_NE(l2.data, nullptr);
  EXPECT_EQ(std::memcmp(l2.data, bytes, 3), 0);
  std::free(l2.data);
}

TEST_F(RegistryEngine, MissingValuesAndAMissingKey) {
  for (bool keyExists : {true, false}) {
    SCOPED_TRACE(keyExists ? "key without the values" : "no key");
    if (keyExists) {
      key_.Set("other", REG_NONE, {1, 0, 0, 0});
    }
    uint32_t u = 7;
    uint32_t w = 8;
    int32_t i = -7;
    float f = 0.1234567f;
    double d = 0.1234567;
    SharedStringHolder s(MakeString("kept"));
    uint8_t previous = 0;
    LssBlock l{1, &previous};
    ReadParameters(nullptr, keyExists ? key_.path() : "Software\\EchotapTest-NoSuchKey",
                   HKEY_CURRENT_USER, nullptr, kAllNames, kAllTypes, &u, &w, &i, &f, &d, &s.get(),
                   &l);
    EXPECT_EQ(u, 7u);
    EXPECT_EQ(w, 8u);
    EXPECT_EQ(i, -7);
    EXPECT_EQ(f, 0.1234567f);
    EXPECT_EQ(d, 0.1234567);
    EXPECT_EQ(View(s.get()), "kept");
    // A missing block is empty; with no key at all nothing is read.
    EXPECT_EQ(l.size, keyExists ? 0u : 1u);
    EXPECT_EQ(l.data, keyExists ? nullptr : &previous);
  }
}

TEST_F(RegistryEngine, NumbersLoadOnlyFromValuesOfTheirWidth) {
  const struct {
    const char* name;
    const char* types;
    DWORD type;
    Bytes stored;
    bool loads;
  } cases[] = {
      {"dword written elsewhere", "DWORD", REG_DWORD, {0x1D, 0, 0, 0}, true},
      {"string of four bytes", "DWORD", REG_SZ, {'4', '2', '!', 0}, true},  // type not examined
      {"two bytes", "DWORD", REG_NONE, {0x1D, 0}, false},
      {"eight bytes", "UINT", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, false},
      {"double of four bytes", "DOUBLE", REG_NONE, {0, 0, 0x80, 0x3F}, false},
      {"double of eight bytes", "DOUBLE", REG_BINARY, BytesOf(2.5), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    key_.Set("v", c.type, c.stored);
    const char* const names[] = {"v"};
    uint8_t variable[8];
    std::memset(variable, 0xEE, sizeof variable);
    ReadParameters(nullptr, key_.path(), HKEY_CURRENT_USER, nullptr, names, c.types, variable);
    Bytes expected(8, 0xEE);
    if (c.loads) {
      std::copy(c.stored.begin(), c.stored.end(), expected.begin());
    }
    EXPECT_EQ(Bytes(variable, variable + 8), expected);
  }
}

TEST_F(RegistryEngine, TokensThatNameNoTypeWriteNothing) {
  const char* const names[] = {"a", "b", "c", "d"};
  uint32_t v[4] = {1, 2, 3, 4};
  WriteParameters(nullptr, key_.path(), HKEY_CURRENT_USER, nullptr, names, "dword BOGUS  DWORD",
                  &v[0], &v[1], &v[2], &v[3]);
  EXPECT_TRUE(key_.Query("a").found);
  EXPECT_FALSE(key_.Query("b").found);
  EXPECT_FALSE(key_.Query("c").found);
  EXPECT_EQ(key_.Query("d").bytes, (Bytes{4, 0, 0, 0}));
}

TEST_F(RegistryEngine, AKeyThatCannotBeCreatedAnswersZero) {
  const char* const names[] = {"a"};
  uint32_t value = 1;
  EXPECT_EQ(WriteParameters(nullptr, "\\leading backslash", HKEY_CURRENT_USER, nullptr, names,
                            "DWORD", &value),
            0u);
  value = 5;
  ReadParameters(nullptr, "\\leading backslash", HKEY_CURRENT_USER, nullptr, names, "DWORD",
                 &value);
  EXPECT_EQ(value, 5u);
}

TEST_F(RegistryEngine, ANullSectionNamesTheKeyTheCallerOpened) {
  key_.Set("a", REG_NONE, {9, 0, 0, 0});
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key_.path(), 0, KEY_READ | KEY_WRITE, &opened),
            ERROR_SUCCESS);
  RegistryKey key(opened);
  const char* const names[] = {"a", "b"};
  uint32_t v[2] = {0, 2};
  ReadParameters(nullptr, nullptr, key.get(), nullptr, names, "DWORD", &v[0]);
  EXPECT_EQ(v[0], 9u);
  EXPECT_EQ(
      WriteParameters(nullptr, nullptr, key.get(), nullptr, names, "DWORD DWORD", &v[0], &v[1]),
      1u);
  EXPECT_EQ(key_.Query("b").bytes, (Bytes{2, 0, 0, 0}));
}

TEST_F(RegistryEngine, APresetNodeWinsOverTheRegistry) {
  PresetNodeBase root{};
  const char* const names[] = {"a"};
  uint32_t value = 3;
  EXPECT_EQ(WriteParameters(nullptr, key_.path(), HKEY_CURRENT_USER, &root, names, "DWORD", &value),
            1u);
  EXPECT_FALSE(key_.Exists());
  EXPECT_NE(FindChild(root, "a"), nullptr);
  // Also when the registry key could not even be created.
  EXPECT_EQ(WriteParameters(nullptr, "\\bad", HKEY_CURRENT_USER, &root, names, "DWORD", &value),
            1u);
  DestroyNodeLinks(root);
}
