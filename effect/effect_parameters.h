// The nine effect parameters as they are stored: names, type tags, defaults and the conversions
// between a block's fields and the stored 32-bit values.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "echotap.h"

struct EffectSettings;

constexpr int kParameterCount = 9;

// Stored names, in field order; also the order of the value pointers handed to the persistence
// engine.
extern const char* const ParameterNames[kParameterCount];
// One type tag per name, separated by single blanks.
extern const char ParameterTypes[];

// Stored values in table order: DryOut, VolL, VolR (percent), DelL, DelR (ms), HoldChannels,
// InvertL, InvertR, DisMain (flags).
using StoredParameters = std::array<uint32_t, kParameterCount>;

// Values of a block made by Initialize or InitializeXml before the store is read.
constexpr StoredParameters kCreationDefaults = {75, 55, 55, 18, 18, 0, 0, 0, 0};
// Values of a block before LoadPreset reads the store.
constexpr StoredParameters kPresetDefaults = {80, 40, 40, 50, 50, 0, 0, 0, 0};

// Stored percent to gain: the exact double of the unsigned value times the double 0.01.
double PercentToGain(uint32_t percent);
// Gain to stored percent: gain * 100.0 truncated toward zero to 64 bits, low 32 bits kept. A
// product outside the 64-bit range (or NaN) gives the 64-bit "integer indefinite" value, whose low
// half is 0.
uint32_t GainToPercent(double gain);

// Field values from stored values, and back.
void ApplyStoredParameters(const StoredParameters& stored, EffectSettings& block);
StoredParameters StoredParametersOf(const EffectSettings& block);
void CopyParameters(const EffectSettings& source, EffectSettings& target);

// Reads the stored values from the chosen store over `values` (values the store lacks are kept).
void ReadStoredParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                          StoredParameters& values);
// Writes the stored values to the chosen store; the persistence engine's result.
int WriteStoredParameters(const char* iniPath, const char* section, HKEY root, PresetNodeBase* node,
                          StoredParameters values);
