#include "parameter_engine.h"

// The engine does not have its stores yet: the registry, INI and preset tree stores come with the
// preset persistence work. Until then it honours only "no store selected": a read leaves every
// variable as it was, a save writes nothing and answers 1. A save to a store that exists in the
// request but not yet in the engine answers 0, so no caller is told that a preset was saved.

void ReadParameters(const char*, const char*, HKEY, PresetNodeBase*, const char* const*,
                    const char*, ...) {}

uint32_t WriteParameters(const char* iniPath, const char*, HKEY root, PresetNodeBase* node,
                         const char* const*, const char*, ...) {
  const bool storeSelected = node != nullptr || root != nullptr || iniPath != nullptr;
  return storeSelected ? 0 : 1;
}
