// A settings block saved to each store and loaded back: the nine fields survive, the gains as their
// stored percentages.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "effect_parameters.h"
#include "effect_settings.h"
#include "persist/preset_tree.h"
#include "scratch_folder.h"
#include "scratch_registry_key.h"
#include "settings_handle.h"

namespace {

enum class Store { kTree, kIni, kRegistry };

class PresetStores : public ::testing::TestWithParam<Store> {
 protected:
  ~PresetStores() override { DestroyNodeLinks(root_); }

  int Save(const EffectSettings& block) {
    switch (GetParam()) {
      case Store::kTree:
        return SavePresetXml(&root_, &block);
      case Store::kIni:
        return SavePreset(ini_.c_str(), "Delay", nullptr, &block);
      case Store::kRegistry:
        return SavePreset(nullptr, key_.path(), HKEY_CURRENT_USER, &block);
    }
    return -1;
  }

  SettingsHandle Create() {
    EffectSettings* block = nullptr;
    int result = 0;
    switch (GetParam()) {
      case Store::kTree:
        result = InitializeXml(&root_, &block);
        break;
      case Store::kIni:
        result = Initialize(ini_.c_str(), "Delay", nullptr, &block);
        break;
      case Store::kRegistry:
        result = Initialize(nullptr, key_.path(), HKEY_CURRENT_USER, &block);
        break;
    }
    EXPECT_EQ(result, 1);
    return SettingsHandle(block);
  }

  // LoadPreset has no tree form.
  int Load(EffectSettings& block) {
    return GetParam() == Store::kIni ? LoadPreset(ini_.c_str(), "Delay", nullptr, &block)
                                     : LoadPreset(nullptr, key_.path(), HKEY_CURRENT_USER, &block);
  }

  PresetNodeBase root_{};
  ScratchFolder folder_;
  const std::string ini_ = (folder_.root() / "presets.ini").string();
  ScratchRegistryKey key_;
};

void ExpectStored(const EffectSettings& block, const StoredParameters& stored) {
  EXPECT_EQ(block.DryOut, PercentToGain(stored[0]));
  EXPECT_EQ(block.VolL, PercentToGain(stored[1]));
  EXPECT_EQ(block.VolR, PercentToGain(stored[2]));
  EXPECT_EQ(block.DelL, stored[3]);
  EXPECT_EQ(block.DelR, stored[4]);
  EXPECT_EQ(block.HoldChannels, stored[5]);
  EXPECT_EQ(block.InvertL, stored[6]);
  EXPECT_EQ(block.InvertR, stored[7]);
  EXPECT_EQ(block.DisMain, stored[8]);
}

}  // namespace

TEST_P(PresetStores, NineValuesComeBackWithTheirPercentRounding) {
  SettingsHandle block = NewDefaultBlock();
  ApplyStoredParameters({40, 29, 200, 250, 4294967295u, 1, 1, 0, 7}, *block);
  EXPECT_EQ(Save(*block), 1);
  SettingsHandle loaded = Create();
  ASSERT_NE(loaded, nullptr);
  // 100.0 * (29 * 0.01) lies just below 29 and is saved as 28.
  ExpectStored(*loaded, {40, 28, 200, 250, 4294967295u, 1, 1, 0, 7});

  // Saved again, the loaded values are a fixed point.
  EXPECT_EQ(Save(*loaded), 1);
  SettingsHandle again = Create();
  ExpectStored(*again, {40, 28, 200, 250, 4294967295u, 1, 1, 0, 7});
}

TEST_P(PresetStores, DefaultsSurviveUnchanged) {
  SettingsHandle block = NewDefaultBlock();
  EXPECT_EQ(Save(*block), 1);
  ExpectStored(*Create(), kCreationDefaults);
  if (GetParam() != Store::kTree) {
    // LoadPreset starts from its own defaults, then reads the store.
    block->DelL = 999;
    EXPECT_EQ(Load(*block), 1);
    ExpectStored(*block, kCreationDefaults);
  }
}

namespace {

std::string StoreName(const ::testing::TestParamInfo<Store>& info) {
  switch (info.param) {
    case Store::kTree:
      return "Tree";
    case Store::kIni:
      return "Ini";
    case Store::kRegistry:
      return "Registry";
  }
  return "Unknown";
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(EachStore, PresetStores,
                         ::testing::Values(Store::kTree, Store::kIni, Store::kRegistry), StoreName);
