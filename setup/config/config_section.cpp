#include "config_section.h"

#include <algorithm>

#include "ascii_case.h"

const char* ConfigSection::GetKeyName(uint32_t index) const {
  const ConfigEntry* entry = GetEntry(index);
  return entry != nullptr ? entry->key.c_str() : nullptr;
}

const ConfigEntry* ConfigSection::GetEntry(uint32_t index) const {
  return index < entries.size() ? entries[index].get() : nullptr;
}

ConfigEntry* ConfigSection::FindEntry(const char* key) const {
  for (const auto& entry : entries) {
    if (EqualsIgnoringAsciiCase(entry->key.c_str(), key)) {
      return entry.get();
    }
  }
  return nullptr;
}

ConfigEntry& ConfigSection::GetOrCreateEntry(const char* key) {
  if (ConfigEntry* found = FindEntry(key)) {
    return *found;
  }
  entries.push_back(std::make_unique<ConfigEntry>(key != nullptr ? key : ""));
  return *entries.back();
}

void ConfigSection::RemoveEntry(const char* key) {
  const auto match = std::find_if(entries.begin(), entries.end(), [key](const auto& entry) {
    return EqualsIgnoringAsciiCase(entry->key.c_str(), key);
  });
  if (match != entries.end()) {
    entries.erase(match);
  }
}
