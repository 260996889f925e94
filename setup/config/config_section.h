// A named section of a configuration document: its entries in creation order. Keys are matched
// with ASCII letters compared regardless of case; the first match counts, and creating an entry
// looks for one first, so no two keys of a section differ only in case.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config_entry.h"

class ConfigSection {
 public:
  explicit ConfigSection(std::string sectionName) : name(std::move(sectionName)) {}
  ConfigSection(const ConfigSection&) = delete;
  ConfigSection& operator=(const ConfigSection&) = delete;
  virtual ~ConfigSection() = default;

  const std::string& GetName() const { return name; }

  uint32_t GetEntryCount() const { return static_cast<uint32_t>(entries.size()); }
  // Key of the entry at `index`; null when the index is not below the count.
  const char* GetKeyName(uint32_t index) const;
  // Entry at `index`; null when the index is not below the count.
  const ConfigEntry* GetEntry(uint32_t index) const;

  ConfigEntry* FindEntry(const char* key) const;
  // The match, else a new entry with an empty value appended at the end.
  ConfigEntry& GetOrCreateEntry(const char* key);
  // Removes and destroys the first match, if any; the later entries keep their order.
  void RemoveEntry(const char* key);

 private:
  std::vector<std::unique_ptr<ConfigEntry>> entries;
  std::string name;
};
