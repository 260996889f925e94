// A host that keeps presets in the registry and in INI files: the stored forms, byte for byte and
// text for text, and what loads back from them, seen only through the exports.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "echotap.h"
#include "echotap_module.h"
#include "scratch_folder.h"
#include "scratch_registry_key.h"

namespace {

using FreeFn = void(ECHOTAP_CDECL*)(EffectSettings*);
using InitializeFn = int(ECHOTAP_CDECL*)(const char*, const char*, HKEY, EffectSettings**);
using LoadPresetFn = int(ECHOTAP_CDECL*)(const char*, const char*, HKEY, EffectSettings*);
using SavePresetFn = int(ECHOTAP_CDECL*)(const char*, const char*, HKEY, const EffectSettings*);

const char* const kNames[] = {"DryOut",       "VolL",    "VolR",    "DelL",   "DelR",
                              "HoldChannels", "InvertL", "InvertR", "DisMain"};

// The INI section as Windows writes it for nine values.
std::string Section(const char* name, const std::vector<const char*>& values) {
  std::string text = std::string("[") + name + "]\r\n";
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += std::string(kNames[i]) + "=" + values[i] + "\r\n";
  }
  return text;
}

std::vector<uint8_t> LittleEndian(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

class PresetStoresHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin_.loaded()) << "cannot load " << ECHOTAP_LIBRARY;
    initialize_ = plugin_.Export<InitializeFn>("Initialize");
    loadPreset_ = plugin_.Export<LoadPresetFn>("LoadPreset");
    savePreset_ = plugin_.Export<SavePresetFn>("SavePreset");
    free_ = plugin_.Export<FreeFn>("Free");
  }

  // A block created from a store, then saved to another.
  int Transfer(const char* fromIni, const char* fromSection, HKEY fromRoot, const char* toIni,
               const char* toSection, HKEY toRoot) {
    EffectSettings* block = nullptr;
    EXPECT_EQ(initialize_(fromIni, fromSection, fromRoot, &block), 1);
    EXPECT_NE(block, nullptr);
    const int saved = savePreset_(toIni, toSection, toRoot, block);
    free_(block);
    return saved;
  }

  EchotapModule plugin_;
  InitializeFn initialize_ = nullptr;
  LoadPresetFn loadPreset_ = nullptr;
  SavePresetFn savePreset_ = nullptr;
  FreeFn free_ = nullptr;
};

}  // namespace

TEST_F(PresetStoresHost, IniFileHoldsNineEntriesInTableOrder) {
  ScratchFolder folder;
  const std::string ini = (folder.root() / "presets.ini").string();
  EXPECT_EQ(Transfer(nullptr, nullptr, nullptr, ini.c_str(), "Delay", nullptr), 1);
  EXPECT_EQ(ScratchFolder::ReadFile(ini),
            Section("Delay", {"75", "55", "55", "18", "18", "0", "0", "0", "0"}));
}

TEST_F(PresetStoresHost, IniValuesLoadBackAsTheirPercentRounding) {
  ScratchFolder folder;
  const std::string ini = (folder.root() / "presets.ini").string();
  folder.WriteFile("presets.ini",
                   Section("Mine", {"40", "29", "200", "250", "-1", "1", "1", "0", "1"}) +
                       "[Partial]\r\nVolL=75\r\n");
  EXPECT_EQ(Transfer(ini.c_str(), "Mine", nullptr, ini.c_str(), "Back", nullptr), 1);
  EXPECT_EQ(Transfer(ini.c_str(), "Partial", nullptr, ini.c_str(), "PartialBack", nullptr), 1);
  EXPECT_EQ(ScratchFolder::ReadFile(ini),
            Section("Mine", {"40", "29", "200", "250", "-1", "1", "1", "0", "1"}) +
                "[Partial]\r\nVolL=75\r\n" +
                Section("Back", {"40", "28", "200", "250", "-1", "1", "1", "0", "1"}) +
                Section("PartialBack", {"75", "75", "55", "18", "18", "0", "0", "0", "0"}));
}

TEST_F(PresetStoresHost, IniFileThatCannotBeWrittenIsReportedAsNotSaved) {
  ScratchFolder folder;
  const std::string ini = (folder.root() / "missing" / "presets.ini").string();
  EXPECT_EQ(Transfer(nullptr, nullptr, nullptr, ini.c_str(), "Delay", nullptr), 0);
}

TEST_F(PresetStoresHost, LoadPresetFromAnIniFileStartsFromThePresetDefaults) {
  ScratchFolder folder;
  const std::string ini = (folder.root() / "presets.ini").string();
  folder.WriteFile("presets.ini", "[Partial]\r\nDelR=7\r\n");
  EffectSettings* block = nullptr;
  ASSERT_EQ(initialize_(nullptr, nullptr, nullptr, &block), 1);
  EXPECT_EQ(loadPreset_(ini.c_str(), "Partial", nullptr, block), 1);
  EXPECT_EQ(savePreset_(ini.c_str(), "Saved", nullptr, block), 1);
  free_(block);
  EXPECT_EQ(ScratchFolder::ReadFile(ini),
            "[Partial]\r\nDelR=7\r\n" +
                Section("Saved", {"80", "40", "40", "50", "7", "0", "0", "0", "0"}));
}

TEST_F(PresetStoresHost, RegistryHoldsNineFourByteValuesOfTypeNone) {
  ScratchRegistryKey key;
  EXPECT_EQ(Transfer(nullptr, nullptr, nullptr, nullptr, key.path(), HKEY_CURRENT_USER), 1);
  const std::vector<uint8_t> expected[] = {
      {0x4B, 0, 0, 0}, {0x37, 0, 0, 0}, {0x37, 0, 0, 0}, {0x12, 0, 0, 0}, {0x12, 0, 0, 0},
      {0, 0, 0, 0},    {0, 0, 0, 0},    {0, 0, 0, 0},    {0, 0, 0, 0},
  };
  for (std::size_t i = 0; i < 9; ++i) {
    SCOPED_TRACE(kNames[i]);
    const ScratchRegistryKey::Value value = key.Query(kNames[i]);
    ASSERT_TRUE(value.found);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(value.bytes, expected[i]);
  }
}

TEST_F(PresetStoresHost, RegistryValuesOfAnyTypeLoadBackAsTheirPercentRounding) {
  ScratchRegistryKey from;
  from.Set("VolL", REG_DWORD, LittleEndian(29));
  from.Set("VolR", REG_NONE, LittleEndian(200));
  from.Set("DelR", REG_BINARY, LittleEndian(4294967295u));
  from.Set("InvertL", REG_DWORD, LittleEndian(1));
  from.Set("DelL", REG_NONE, {0x07, 0x00});  // not four bytes: not a value for DelL
  ScratchRegistryKey to;
  EXPECT_EQ(
      Transfer(nullptr, from.path(), HKEY_CURRENT_USER, nullptr, to.path(), HKEY_CURRENT_USER), 1);
  const uint32_t expected[] = {75, 28, 200, 18, 4294967295u, 0, 1, 0, 0};
  for (std::size_t i = 0; i < 9; ++i) {
    SCOPED_TRACE(kNames[i]);
    const ScratchRegistryKey::Value value = to.Query(kNames[i]);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(value.bytes, LittleEndian(expected[i]));
  }
}

TEST_F(PresetStoresHost, RegistryKeyThatCannotBeCreatedSavesNothing) {
  ScratchRegistryKey missing;
  EXPECT_EQ(Transfer(nullptr, missing.path(), HKEY_CURRENT_USER, nullptr, "\\leading backslash",
                     HKEY_CURRENT_USER),
            0);
  EXPECT_FALSE(missing.Exists());  // reading never creates the key
}
