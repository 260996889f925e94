// The thirteen exports of the plug-in. Each is a thin shell over the settings block and the signal
// path; the export table (names and ordinals) is echotap.def.
#include <new>

#include "effect_parameters.h"
#include "effect_settings.h"
#include "export_guard.h"
#include "stream_processor.h"

namespace {

// 24 bytes on the 32-bit target (checked in record_layouts.cpp).
constexpr uint32_t kInfoRecordSize = sizeof(EffectInfo);
constexpr uint32_t kInfoVersion = 0x00020000;
const char kEffectName[] = "Delay";
const char kMakerName[] = "Quenby Ltd (CY)";

// A new block from `defaults` overwritten by the store, or null when no memory is left.
EffectSettings* CreateBlock(const char* iniPath, const char* section, HKEY root,
                            PresetNodeBase* node) {
  StoredParameters values = kCreationDefaults;
  ReadStoredParameters(iniPath, section, root, node, values);
  EffectSettings* block = new (std::nothrow) EffectSettings;
  if (block != nullptr) {
    ApplyStoredParameters(values, *block);
  }
  return block;
}

}  // namespace

extern "C" {

int ECHOTAP_CDECL CloseStream(EffectSettings* block) {
  if (block != nullptr) {
    CloseEffectStream(*block);
  }
  return 1;
}

int ECHOTAP_CDECL CopySettings(EffectSettings** out, const EffectSettings* source) {
  if (out == nullptr) {
    return 0;
  }
  *out = nullptr;
  if (source == nullptr) {
    return 0;
  }
  EffectSettings* copy = new (std::nothrow) EffectSettings;
  if (copy == nullptr) {
    return 0;
  }
  CopyParameters(*source, *copy);
  *out = copy;
  return 1;
}

int ECHOTAP_CDECL CreateSettingsWindow(void) { return 0; }

void ECHOTAP_CDECL Free(EffectSettings* block) {
  // Deleting the block also closes an open stream: its request record belongs to the block, and a
  // host that frees without closing would otherwise lose it.
  delete block;
}

int ECHOTAP_CDECL Initialize(const char* iniPath, const char* section, HKEY root,
                             EffectSettings** out) {
  if (out == nullptr) {
    return 1;
  }
  *out = CallGuarded<EffectSettings*>(nullptr,
                                      [&] { return CreateBlock(iniPath, section, root, nullptr); });
  return 1;
}

int ECHOTAP_CDECL InitializeXml(PresetNodeBase* node, EffectSettings** out) {
  if (out == nullptr) {
    return 1;
  }
  *out = CallGuarded<EffectSettings*>(nullptr,
                                      [&] { return CreateBlock(nullptr, nullptr, nullptr, node); });
  return 1;
}

int ECHOTAP_CDECL LoadPreset(const char* iniPath, const char* section, HKEY root,
                             EffectSettings* block) {
  if (block == nullptr) {
    return 1;
  }
  CallGuarded([&] {
    StoredParameters values = kPresetDefaults;
    ReadStoredParameters(iniPath, section, root, nullptr, values);
    ApplyStoredParameters(values, *block);
  });
  return 1;
}

int ECHOTAP_CDECL OpenStream(EffectSettings* block, const StreamFormat* format) {
  if (block == nullptr || format == nullptr) {
    return 0;
  }
  OpenEffectStream(*block, *format);
  return 1;
}

int ECHOTAP_CDECL PlugInInfo(EffectInfo* record) {
  if (record == nullptr || record->size != kInfoRecordSize) {
    return 0;
  }
  record->zero = 0;
  record->name = kEffectName;
  record->maker = kMakerName;
  record->version = kInfoVersion;
  return 1;
}

uint32_t ECHOTAP_CDECL ProcessStream(StreamBuffer* buffer, EffectSettings* block) {
  if (buffer == nullptr || block == nullptr) {
    return 0;
  }
  return PullFrames(*buffer, *block);
}

int ECHOTAP_CDECL SavePreset(const char* iniPath, const char* section, HKEY root,
                             const EffectSettings* block) {
  if (block == nullptr) {
    return 0;
  }
  return CallGuarded(0, [&] {
    return WriteStoredParameters(iniPath, section, root, nullptr, StoredParametersOf(*block));
  });
}

int ECHOTAP_CDECL SavePresetXml(PresetNodeBase* node, const EffectSettings* block) {
  if (block == nullptr) {
    return 0;
  }
  return CallGuarded(0, [&] {
    return WriteStoredParameters(nullptr, nullptr, nullptr, node, StoredParametersOf(*block));
  });
}

int ECHOTAP_CDECL SetStreamCallBack(StreamCallback callback, EffectUserData userData,
                                    EffectSettings* block) {
  if (block == nullptr) {
    return 0;
  }
  block->callback = callback;
  block->userData = userData;
  return 1;
}

}  // extern "C"
