#include "effect_parameters.h"

#include "effect_settings.h"
#include "persist/parameter_engine.h"

const char* const ParameterNames[kParameterCount] = {
    "DryOut", "VolL", "VolR", "DelL", "DelR", "HoldChannels", "InvertL", "InvertR", "DisMain",
};

const char ParameterTypes[] = "DWORD DWORD DWORD DWORD DWORD DWORD DWORD DWORD DWORD";

double PercentToGain(uint32_t percent) { return static_cast<double>(percent) * 0.01; }

uint32_t GainToPercent(double gain) {
  const double scaled = gain * 100.0;
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!(scaled >= -kTwoTo63 && scaled < kTwoTo63)) {
    return 0;
  }
  return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(scaled)));
}

void ApplyStoredParameters(const StoredParameters& stored, EffectSettings& block) {
  block.DryOut = PercentToGain(stored[0]);
  block.VolL = PercentToGain(stored[1]);
  block.VolR = PercentToGain(stored[2]);
  block.DelL = stored[3];
  block.DelR = stored[4];
  block.HoldChannels = stored[5];
  block.InvertL = stored[6];
  block.InvertR = stored[7];
  block.DisMain = stored[8];
}

StoredParameters StoredParametersOf(const EffectSettings& block) {
  return {GainToPercent(block.DryOut),
          GainToPercent(block.VolL),
          GainToPercent(block.VolR),
          block.DelL,
          block.DelR,
          block.HoldChannels,
          block.InvertL,
          block.InvertR,
          block.DisMain};
}

void CopyParameters(const EffectSettings& source, EffectSettings& target) {
  target.DryOut = source.DryOut;
  target.VolL = source.VolL;
  target.VolR = source.VolR;
  target.DelL = source.DelL;
  target.DelR = source.DelR;
  target.HoldChannels = source.HoldChannels;
  target.InvertL = source.InvertL;
  target.InvertR = source.InvertR;
  target.DisMain = source.DisMain;
}

void ReadStoredParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                          StoredParameters& v) {
  ReadParameters(iniPath, section, root, node, ParameterNames, ParameterTypes, &v[0], &v[1], &v[2],
                 &v[3], &v[4], &v[5], &v[6], &v[7], &v[8]);
}

int WriteStoredParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                          StoredParameters v) {
  return static_cast<int>(WriteParameters(iniPath, section, root, node, ParameterNames,
                                          ParameterTypes, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                                          &v[6], &v[7], &v[8]));
}
