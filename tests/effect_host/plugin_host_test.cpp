// A host program: loads the built plug-in by path, resolves its exports by name (and, for a PE DLL,
// by ordinal) and drives a whole session through function pointers of the declared convention.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "echotap.h"

namespace {

struct ModuleCloser {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

using CloseStreamFn = int(ECHOTAP_CDECL*)(EffectSettings*);
using CopySettingsFn = int(ECHOTAP_CDECL*)(EffectSettings**, const EffectSettings*);
using CreateSettingsWindowFn = int(ECHOTAP_CDECL*)(void);
using FreeFn = void(ECHOTAP_CDECL*)(EffectSettings*);
using InitializeFn = int(ECHOTAP_CDECL*)(const char*, const char*, HKEY, EffectSettings**);
using InitializeXmlFn = int(ECHOTAP_CDECL*)(PresetNodeBase*, EffectSettings**);
using LoadPresetFn = int(ECHOTAP_CDECL*)(const char*, const char*, HKEY, EffectSettings*);
using OpenStreamFn = int(ECHOTAP_CDECL*)(EffectSettings*, const StreamFormat*);
using PlugInInfoFn = int(ECHOTAP_CDECL*)(EffectInfo*);
using ProcessStreamFn = uint32_t(ECHOTAP_CDECL*)(StreamBuffer*, EffectSettings*);
using SavePresetFn = int(ECHOTAP_CDECL*)(const char*, const char*, HKEY, const EffectSettings*);
using SavePresetXmlFn = int(ECHOTAP_CDECL*)(PresetNodeBase*, const EffectSettings*);
using SetStreamCallBackFn = int(ECHOTAP_CDECL*)(StreamCallback, EffectUserData, EffectSettings*);

// The export table: alphabetical names, ordinals 1 to 13.
const char* const kExports[] = {
    "CloseStream",   "CopySettings",  "CreateSettingsWindow", "Free",       "Initialize",
    "InitializeXml", "LoadPreset",    "OpenStream",           "PlugInInfo", "ProcessStream",
    "SavePreset",    "SavePresetXml", "SetStreamCallBack",
};

class PluginHost : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(LoadLibraryA(ECHOTAP_LIBRARY));
    ASSERT_NE(module_, nullptr) << "cannot load " << ECHOTAP_LIBRARY << ", error "
                                << GetLastError();
  }

  template <typename Fn>
  Fn Export(const char* name) {
    FARPROC address = GetProcAddress(module_.get(), name);
    EXPECT_NE(address, nullptr) << name;
    // Through void (*)(void), the type GCC accepts as a generic function pointer.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(address));
  }

  ModuleHandle module_;
};

// Fills every request with a ramp 1, 2, 3, ... on both channels.
uint32_t ECHOTAP_CDECL RampInput(EffectUserData userData, StreamBuffer* buffer) {
  double& next = *reinterpret_cast<double*>(userData);
  for (uint32_t i = 0; i < buffer->frames; ++i) {
    next += 1.0;
    buffer->left[i] = next;
    if (buffer->right != nullptr) {
      buffer->right[i] = -next;
    }
  }
  return buffer->frames;
}

}  // namespace

TEST_F(PluginHost, ResolvesEveryExportByName) {
  for (const char* name : kExports) {
    EXPECT_NE(GetProcAddress(module_.get(), name), nullptr) << name;
  }
  EXPECT_EQ(GetProcAddress(module_.get(), "ReadParameters"), nullptr);
  EXPECT_EQ(GetProcAddress(module_.get(), "DelayLineLength"), nullptr);
}

TEST_F(PluginHost, OrdinalsFollowTheAlphabeticalOrderOfTheNames) {
#ifdef _WIN32
  for (int ordinal = 1; ordinal <= 13; ++ordinal) {
    SCOPED_TRACE(kExports[ordinal - 1]);
    FARPROC byOrdinal = GetProcAddress(module_.get(), MAKEINTRESOURCEA(ordinal));
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(byOrdinal, GetProcAddress(module_.get(), kExports[ordinal - 1]));
  }
  EXPECT_EQ(GetProcAddress(module_.get(), MAKEINTRESOURCEA(14)), nullptr);
#else
  GTEST_SKIP() << "ordinals exist only in a PE export table";
#endif
}

TEST_F(PluginHost, RunsASessionThroughTheExports) {
  auto plugInInfo = Export<PlugInInfoFn>("PlugInInfo");
  auto initialize = Export<InitializeFn>("Initialize");
  auto initializeXml = Export<InitializeXmlFn>("InitializeXml");
  auto loadPreset = Export<LoadPresetFn>("LoadPreset");
  auto savePreset = Export<SavePresetFn>("SavePreset");
  auto savePresetXml = Export<SavePresetXmlFn>("SavePresetXml");
  auto copySettings = Export<CopySettingsFn>("CopySettings");
  auto setCallback = Export<SetStreamCallBackFn>("SetStreamCallBack");
  auto openStream = Export<OpenStreamFn>("OpenStream");
  auto processStream = Export<ProcessStreamFn>("ProcessStream");
  auto closeStream = Export<CloseStreamFn>("CloseStream");
  auto createWindow = Export<CreateSettingsWindowFn>("CreateSettingsWindow");
  auto freeBlock = Export<FreeFn>("Free");
  ASSERT_FALSE(HasFailure());

  EffectInfo info;
  std::memset(&info, 0, sizeof info);
  info.size = sizeof info;
  ASSERT_EQ(plugInInfo(&info), 1);
  EXPECT_STREQ(info.name, "Delay");
  EXPECT_STREQ(info.maker, "Quenby Ltd (CY)");
  EXPECT_EQ(info.version, 0x00020000u);
  EXPECT_EQ(createWindow(), 0);

  EffectSettings* block = nullptr;
  ASSERT_EQ(initialize(nullptr, nullptr, nullptr, &block), 1);
  ASSERT_NE(block, nullptr);
  EffectSettings* fromTree = nullptr;
  ASSERT_EQ(initializeXml(nullptr, &fromTree), 1);
  ASSERT_NE(fromTree, nullptr);
  EXPECT_EQ(loadPreset(nullptr, nullptr, nullptr, block), 1);  // 0.80 dry, 0.40 wet, 50 ms
  EXPECT_EQ(savePreset(nullptr, nullptr, nullptr, block), 1);
  EXPECT_EQ(savePresetXml(nullptr, block), 1);
  EffectSettings* copy = nullptr;
  ASSERT_EQ(copySettings(&copy, block), 1);
  ASSERT_NE(copy, nullptr);

  double ramp = 0.0;
  ASSERT_EQ(setCallback(&RampInput, reinterpret_cast<EffectUserData>(&ramp), copy), 1);
  StreamFormat format{1, 2, 1000};  // 50 ms at 1000 Hz: 50-sample lines
  ASSERT_EQ(openStream(copy, &format), 1);
  std::vector<double> left(5000), right(5000);
  StreamBuffer buffer{5000, left.data(), right.data()};
  ASSERT_EQ(processStream(&buffer, copy), 5000u);
  EXPECT_EQ(left[0], 1.0 * 0.80);
  EXPECT_EQ(right[0], -1.0 * 0.80);
  // Frame 50 hears frame 0 through the line: 0.40 * 1 + 0.80 * 51.
  EXPECT_EQ(left[50], 1.0 * 0.40 + 51.0 * 0.80);
  EXPECT_EQ(right[50], -1.0 * 0.40 + -51.0 * 0.80);
  EXPECT_EQ(ramp, 5000.0);
  EXPECT_EQ(closeStream(copy), 1);

  freeBlock(copy);
  freeBlock(fromTree);
  freeBlock(block);
  freeBlock(nullptr);
}
