// Owns a settings block made by the plug-in and frees it through the plug-in.
#pragma once

#include <memory>

#include "echotap.h"

struct FreeSettings {
  void operator()(EffectSettings* block) const { Free(block); }
};
using SettingsHandle = std::unique_ptr<EffectSettings, FreeSettings>;

inline SettingsHandle NewDefaultBlock() {
  EffectSettings* block = nullptr;
  Initialize(nullptr, nullptr, nullptr, &block);
  return SettingsHandle(block);
}
