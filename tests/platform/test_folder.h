// A fresh folder under the system's temporary folder for one test, removed with everything in it
// when the test ends, and the byte-exact file reads and writes the profile tests compare with.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

class TestFolder {
 public:
  TestFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "win32-platform-";
    for (const char* c = test != nullptr ? test->name() : "test"; *c != '\0'; ++c) {
      name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '-';  // "Case/0" names one
    }
    std::random_device random;
    for (;;) {
      path_ = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) {
        break;
      }
    }
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }
  // The full path of `name` in the folder, as the profile functions take it.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

// The file's bytes; empty when there is no file.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
