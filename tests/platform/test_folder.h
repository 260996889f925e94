// A fresh folder for one test (the shared ScratchFolder), and the byte-exact file reads and writes
// the profile tests compare with.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "scratch_folder.h"

class TestFolder {
 public:
  const std::filesystem::path& path() const { return folder_.root(); }
  // The full path of `name` in the folder, as the profile functions take it.
  std::string File(const std::string& name) const { return (folder_.root() / name).string(); }

 private:
  ScratchFolder folder_;
};

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

// The file's bytes; empty when there is no file.
inline std::string ReadBytes(const std::string& path) { return ScratchFolder::ReadFile(path); }

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
