// Test fixture for documents on disk: a private APPDATA whose suite folder holds the test's files,
// named relatively as the installer names them, and a compact view of a document's content.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/config_document.h"
#include "scoped_environment_variable.h"
#include "scratch_folder.h"

// "section{key=value;key=value}" per section, in document order, joined by blanks.
inline std::string Dump(const ConfigDocument& document) {
  std::string out;
  for (uint32_t i = 0; i < document.GetSectionCount(); ++i) {
    const ConfigSection* section = document.GetSection(i);
    out += (i != 0 ? " " : "") + section->GetName() + "{";
    for (uint32_t j = 0; j < section->GetEntryCount(); ++j) {
      const ConfigEntry* entry = section->GetEntry(j);
      out += (j != 0 ? ";" : "") + entry->key + "=" + entry->value;
    }
    out += "}";
  }
  return out;
}

class ConfigFiles : public ::testing::Test {
 protected:
  ConfigFiles() : appData_("APPDATA", folder_.Path().c_str()) {
    std::filesystem::create_directories(SuiteFolder());
  }

  // The suite folder under the private APPDATA.
  std::filesystem::path SuiteFolder() const { return folder_.root() / "Quenby" / "QVX7"; }

  // Writes `bytes` to the suite folder and answers the relative name to load it by.
  std::string Write(const std::string& name, const std::string& bytes) const {
    folder_.WriteFile(std::filesystem::path("Quenby") / "QVX7" / name, bytes);
    return name;
  }

  std::string Read(const std::string& name) const {
    return ScratchFolder::ReadFile(SuiteFolder() / name);
  }

  // Loads `text` from a file and answers the content.
  std::string LoadText(const std::string& text) {
    ConfigDocument document;
    EXPECT_EQ(document.Load(Write("load.xml", text).c_str()), 1);
    EXPECT_EQ(document.IsUnloaded(), 0);
    return Dump(document);
  }

  ScratchFolder folder_;
  ScopedEnvironmentVariable appData_;
};
