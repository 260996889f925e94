#include "config_document.h"

#include <algorithm>
#include <cstdlib>

#include "ascii_case.h"
#include "binary_text.h"
#include "config_path.h"
#include "number_text.h"

namespace {

const char* OrEmpty(const char* s) { return s != nullptr ? s : ""; }

}  // namespace

ConfigDocument::ConfigDocument() = default;

ConfigDocument::~ConfigDocument() { Clear(); }

int32_t ConfigDocument::Load(const char* newPath) {
  Clear();
  SetPath(newPath);
  loaded = 1;
  return ReadFile();
}

int32_t ConfigDocument::Save() { return WriteFile(); }

void ConfigDocument::SetPath(const char* newPath) { path = ResolveConfigPath(newPath); }

void ConfigDocument::Clear() {
  sections.clear();
  loaded = 0;
}

ConfigSection* ConfigDocument::FindSection(const char* name) const {
  for (const auto& section : sections) {
    if (EqualsIgnoringAsciiCase(section->GetName().c_str(), name)) {
      return section.get();
    }
  }
  return nullptr;
}

ConfigSection& ConfigDocument::GetOrCreateSection(const char* name) {
  if (ConfigSection* found = FindSection(name)) {
    return *found;
  }
  sections.push_back(std::make_unique<ConfigSection>(OrEmpty(name)));
  return *sections.back();
}

const ConfigSection* ConfigDocument::GetSection(uint32_t index) const {
  return index < sections.size() ? sections[index].get() : nullptr;
}

const std::string* ConfigDocument::FindValue(const char* section, const char* key) const {
  const ConfigSection* found = FindSection(section);
  const ConfigEntry* entry = found != nullptr ? found->FindEntry(key) : nullptr;
  return entry != nullptr ? &entry->value : nullptr;
}

uint32_t ConfigDocument::GetSectionCount() const { return static_cast<uint32_t>(sections.size()); }

const char* ConfigDocument::GetSectionName(uint32_t index) const {
  const ConfigSection* section = GetSection(index);
  return section != nullptr ? section->GetName().c_str() : nullptr;
}

void ConfigDocument::DeleteKey(const char* section, const char* key) {
  if (ConfigSection* found = FindSection(section)) {
    found->RemoveEntry(key);
  }
}

void ConfigDocument::DeleteSection(const char* section) {
  const auto match = std::find_if(sections.begin(), sections.end(), [section](const auto& s) {
    return EqualsIgnoringAsciiCase(s->GetName().c_str(), section);
  });
  if (match != sections.end()) {
    sections.erase(match);
  }
}

const char* ConfigDocument::GetString(const char* section, const char* key,
                                      const char* defaultValue) const {
  const std::string* value = FindValue(section, key);
  return value != nullptr ? value->c_str() : OrEmpty(defaultValue);
}

void ConfigDocument::SetString(const char* section, const char* key, const char* value) {
  GetOrCreateSection(section).GetOrCreateEntry(key).value = OrEmpty(value);
}

int32_t ConfigDocument::GetBool(const char* section, const char* key, int32_t defaultValue) const {
  const std::string* value = FindValue(section, key);
  if (value == nullptr) {
    return defaultValue;
  }
  return ReadLong(value->c_str()) != 0 ? 1 : 0;
}

void ConfigDocument::SetBool(const char* section, const char* key, int32_t value) {
  SetInt(section, key, value);
}

int32_t ConfigDocument::GetIntInRange(const char* section, const char* key, int32_t defaultValue,
                                      int32_t minimum, int32_t maximum) const {
  const int32_t value = GetInt(section, key, defaultValue);
  return (value < minimum || value > maximum) ? defaultValue : value;
}

int32_t ConfigDocument::GetInt(const char* section, const char* key, int32_t defaultValue) const {
  const std::string* value = FindValue(section, key);
  return value != nullptr ? ReadLong(value->c_str()) : defaultValue;
}

void ConfigDocument::SetInt(const char* section, const char* key, int32_t value) {
  SetString(section, key, FormatLong(value).c_str());
}

int32_t ConfigDocument::GetBinary(const char* section, const char* key, void* buffer,
                                  uint32_t size) const {
  const std::string* value = FindValue(section, key);
  if (value == nullptr || (buffer == nullptr && size != 0)) {
    return 0;
  }
  return DecodeBinary(value->c_str(), buffer, size) ? 1 : 0;
}

void ConfigDocument::SetBinary(const char* section, const char* key, const void* buffer,
                               uint32_t size) {
  // Without data there is nothing to describe: the stored value stays as it was.
  if (buffer == nullptr && size != 0) {
    return;
  }
  SetString(section, key, EncodeBinary(buffer, size).c_str());
}

double ConfigDocument::GetDouble(const char* section, const char* key, double defaultValue) const {
  const std::string* value = FindValue(section, key);
  return value != nullptr ? std::atof(value->c_str()) : defaultValue;
}

void ConfigDocument::SetDouble(const char* section, const char* key, double value) {
  SetString(section, key, FormatDouble(value).c_str());
}

int32_t ConfigDocument::IsUnloaded() const { return loaded == 0 ? 1 : 0; }
