// One key/value pair of a configuration section. Both are 8-bit text in the ANSI code page; the
// key keeps the letter case with which it was first created.
#pragma once

#include <string>

class ConfigEntry {
 public:
  explicit ConfigEntry(std::string entryKey) : key(std::move(entryKey)) {}
  virtual ~ConfigEntry() = default;

  std::string key;
  std::string value;
};
