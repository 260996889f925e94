// One of the engine's stores. The engine walks the type tokens and hands each variable, with its
// name and type, to the store it chose; `variable` points at the type's variable (see
// parameter_types.h). A store skips kNone.
#pragma once

#include "parameter_types.h"

class ParameterStore {
 public:
  virtual ~ParameterStore() = default;

  // Overwrites the variable with the stored value, or leaves it as the store's rules say.
  virtual void Read(const char* name, ParameterType type, void* variable) = 0;
  // False when the platform refused to store the value (nothing to store is no failure).
  virtual bool Write(const char* name, ParameterType type, const void* variable) = 0;
};
