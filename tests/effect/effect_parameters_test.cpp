#include "effect_parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "effect_settings.h"
#include "settings_handle.h"

namespace {

void ExpectParameters(const EffectSettings& block, double dry, double volL, double volR,
                      uint32_t delL, uint32_t delR) {
  EXPECT_EQ(block.DryOut, dry);
  EXPECT_EQ(block.VolL, volL);
  EXPECT_EQ(block.VolR, volR);
  EXPECT_EQ(block.DelL, delL);
  EXPECT_EQ(block.DelR, delR);
  EXPECT_EQ(block.HoldChannels, 0u);
  EXPECT_EQ(block.InvertL, 0u);
  EXPECT_EQ(block.InvertR, 0u);
  EXPECT_EQ(block.DisMain, 0u);
}

}  // namespace

TEST(EffectParameters, NameTableAndTypeListMatchTheStoredLayout) {
  const char* expected[] = {"DryOut",       "VolL",    "VolR",    "DelL",   "DelR",
                            "HoldChannels", "InvertL", "InvertR", "DisMain"};
  for (int i = 0; i < kParameterCount; ++i) {
    EXPECT_STREQ(ParameterNames[i], expected[i]) << "entry " << i;
  }
  EXPECT_STREQ(ParameterTypes, "DWORD DWORD DWORD DWORD DWORD DWORD DWORD DWORD DWORD");
}

TEST(EffectParameters, PercentAndGainConversions) {
  struct Case {
    uint32_t stored;
    double gain;
    uint32_t savedBack;
  } cases[] = {
      {75, 0.75, 75},  {55, 0.55, 55},      {40, 0.40, 40},
      {80, 0.80, 80},  {29, 29 * 0.01, 28},  // 100.0 * (29 * 0.01) lies just below 29
      {200, 2.0, 200},                       // no clipping above 100 percent
      {0, 0.0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(PercentToGain(c.stored), c.gain);
    EXPECT_EQ(GainToPercent(PercentToGain(c.stored)), c.savedBack);
  }
  EXPECT_EQ(PercentToGain(4294967295u), 4294967295.0 * 0.01);
}

TEST(EffectParameters, GainToPercentTruncatesTowardZeroAndKeepsTheLow32Bits) {
  struct Case {
    double gain;
    uint32_t percent;
  } cases[] = {
      {-0.5, static_cast<uint32_t>(-50)},
      {-0.019, static_cast<uint32_t>(-1)},
      {0.999, 99},
      {42949672.96, 0},  // 2^32 percent
      {42949672.97, 1},
      // Outside the 64-bit range the conversion gives 0x8000000000000000, whose low half is 0.
      {1e300, 0},
      {-1e300, 0},
      {std::numeric_limits<double>::infinity(), 0},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gain);
    EXPECT_EQ(GainToPercent(c.gain), c.percent);
  }
}

TEST(EffectSettingsLifecycle, InitializeWithoutAStoreGivesTheCreationDefaults) {
  SettingsHandle block = NewDefaultBlock();
  ASSERT_NE(block, nullptr);
  ExpectParameters(*block, 0.75, 0.55, 0.55, 18, 18);
  EXPECT_EQ(block->lineL.length(), 0u);
  EXPECT_EQ(block->lineR.length(), 0u);
  EXPECT_EQ(block->callback, nullptr);
  EXPECT_EQ(block->userData, 0u);
  EXPECT_EQ(block->scratch, nullptr);
}

TEST(EffectSettingsLifecycle, InitializeXmlWithANullNodeGivesTheCreationDefaults) {
  EffectSettings* raw = nullptr;
  EXPECT_EQ(InitializeXml(nullptr, &raw), 1);
  SettingsHandle block(raw);
  ASSERT_NE(block, nullptr);
  ExpectParameters(*block, 0.75, 0.55, 0.55, 18, 18);
}

TEST(EffectSettingsLifecycle, LoadPresetWithoutAStoreSetsThePresetDefaults) {
  SettingsHandle block = NewDefaultBlock();
  block->DryOut = 3.0;
  block->DelL = 999;
  block->InvertL = 1;
  block->HoldChannels = 7;
  EXPECT_EQ(LoadPreset(nullptr, nullptr, nullptr, block.get()), 1);
  ExpectParameters(*block, 0.80, 0.40, 0.40, 50, 50);
}

TEST(EffectSettingsLifecycle, LoadPresetKeepsTheStreamAndTheCallback) {
  SettingsHandle block = NewDefaultBlock();
  StreamFormat format{1, 2, 1000};
  SetStreamCallBack(nullptr, 77, block.get());
  ASSERT_EQ(OpenStream(block.get(), &format), 1);
  LoadPreset(nullptr, nullptr, nullptr, block.get());
  EXPECT_EQ(block->lineL.length(), 18u);  // sized from the old delay; new times wait for OpenStream
  EXPECT_NE(block->scratch, nullptr);
  EXPECT_EQ(block->userData, 77u);
  CloseStream(block.get());
}

TEST(EffectSettingsLifecycle, CopyOfAnOpenBlockHasItsParametersOnly) {
  SettingsHandle source = NewDefaultBlock();
  source->DryOut = 0.1;
  source->VolL = 0.2;
  source->VolR = 0.3;
  source->DelL = 4;
  source->DelR = 5;
  source->HoldChannels = 6;
  source->InvertL = 7;
  source->InvertR = 8;
  source->DisMain = 9;
  StreamFormat format{1, 2, 48000};
  SetStreamCallBack(nullptr, 123, source.get());
  ASSERT_EQ(OpenStream(source.get(), &format), 1);

  EffectSettings* raw = nullptr;
  ASSERT_EQ(CopySettings(&raw, source.get()), 1);
  SettingsHandle copy(raw);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->DryOut, 0.1);
  EXPECT_EQ(copy->VolL, 0.2);
  EXPECT_EQ(copy->VolR, 0.3);
  EXPECT_EQ(copy->DelL, 4u);
  EXPECT_EQ(copy->DelR, 5u);
  EXPECT_EQ(copy->HoldChannels, 6u);
  EXPECT_EQ(copy->InvertL, 7u);
  EXPECT_EQ(copy->InvertR, 8u);
  EXPECT_EQ(copy->DisMain, 9u);
  EXPECT_EQ(copy->lineL.length(), 0u);
  EXPECT_EQ(copy->lineR.length(), 0u);
  EXPECT_EQ(copy->callback, nullptr);
  EXPECT_EQ(copy->userData, 0u);
  EXPECT_EQ(copy->scratch, nullptr);
  CloseStream(source.get());
}

TEST(EffectSettingsLifecycle, CopyWithoutASourceOrTargetFails) {
  EffectSettings* raw = reinterpret_cast<EffectSettings*>(0x1);
  EXPECT_EQ(CopySettings(&raw, nullptr), 0);
  EXPECT_EQ(raw, nullptr);
  SettingsHandle source = NewDefaultBlock();
  EXPECT_EQ(CopySettings(nullptr, source.get()), 0);
}

TEST(EffectSettingsLifecycle, SaveWithoutAStoreAnswersOneAndChangesNothing) {
  SettingsHandle block = NewDefaultBlock();
  block->VolL = 29 * 0.01;
  EXPECT_EQ(SavePreset(nullptr, nullptr, nullptr, block.get()), 1);
  EXPECT_EQ(SavePresetXml(nullptr, block.get()), 1);
  EXPECT_EQ(block->VolL, 29 * 0.01);
}

TEST(EffectSettingsLifecycle, FreeOfNullDoesNothingAndFreeClosesAnOpenStream) {
  Free(nullptr);
  SettingsHandle block = NewDefaultBlock();
  StreamFormat format{1, 2, 44100};
  ASSERT_EQ(OpenStream(block.get(), &format), 1);
  // Freed with its stream open: the sanitizer build and valgrind report a leak if the request
  // record outlives the block.
}

TEST(PlugInInfo, FillsARecordOfTheRightSizeAndLeavesItsLastWord) {
  EffectInfo info;
  std::memset(&info, 0xAB, sizeof info);
  info.size = sizeof(EffectInfo);  // 24 on the 32-bit target
  EXPECT_EQ(PlugInInfo(&info), 1);
  EXPECT_EQ(info.size, sizeof(EffectInfo));
  EXPECT_EQ(info.zero, 0u);
  EXPECT_STREQ(info.name, "Delay");
  EXPECT_STREQ(info.maker, "Quenby Ltd (CY)");
  EXPECT_EQ(info.version, 0x00020000u);
  EXPECT_EQ(info.reserved, 0xABABABABu);
}

TEST(PlugInInfo, RecordOfAnotherSizeIsLeftUntouched) {
  const uint32_t right = sizeof(EffectInfo);
  for (uint32_t size : {0u, right - 1, right + 1, 2 * right}) {
    SCOPED_TRACE(size);
    EffectInfo info;
    std::memset(&info, 0xCD, sizeof info);
    info.size = size;
    EffectInfo before = info;
    EXPECT_EQ(PlugInInfo(&info), 0);
    EXPECT_EQ(std::memcmp(&info, &before, sizeof info), 0);
  }
  EXPECT_EQ(PlugInInfo(nullptr), 0);
}

TEST(PlugInInfo, SettingsWindowIsNeverCreated) { EXPECT_EQ(CreateSettingsWindow(), 0); }
