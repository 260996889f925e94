// Variables as children of a preset tree node, each holding its text in the attribute "Value".
#pragma once

#include "echotap_presets.h"
#include "parameter_store.h"

class TreeStore : public ParameterStore {
 public:
  explicit TreeStore(PresetNodeBase& node) : node_(node) {}

  // A missing child leaves the variable as it was; a missing "LSS" value gives size 0 and a null
  // data.
  void Read(const char* name, ParameterType type, void* variable) override;
  // Appends a missing child after the node's last child. Always true: running out of memory
  // raises std::bad_alloc.
  bool Write(const char* name, ParameterType type, const void* variable) override;

 private:
  PresetNodeBase& node_;
};
