// Variables as entries of one section of an INI file, through the platform's profile functions.
//
// Integer tags are written with "%d"; "FLOAT" and "DOUBLE" with FormatGeneral and read as by atof,
// a missing entry giving back the current value's own text (the value rounded to six significant
// digits); "STRING" as its characters, whole, a missing entry reading as empty; "LSS" as the size
// with "%d" and the bytes through the profile struct functions. Tokens that name no type are
// neither read nor written.
#pragma once

#include "parameter_store.h"

class IniStore : public ParameterStore {
 public:
  // A null section addresses nothing: reads keep every value, writes fail.
  IniStore(const char* path, const char* section) : path_(path), section_(section) {}

  void Read(const char* name, ParameterType type, void* variable) override;
  bool Write(const char* name, ParameterType type, const void* variable) override;

 private:
  const char* path_;
  const char* section_;
};
