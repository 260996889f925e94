// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Paths are handed out as native 8-bit strings: what an installer would pass.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    const unsigned salt = std::random_device{}();
    for (;;) {
      root_ = std::filesystem::temp_directory_path() /
              ("qvx-test-" + std::to_string(salt) + "-" + std::to_string(counter++));
      if (std::filesystem::create_directory(root_)) {
        break;
      }
    }
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  const std::filesystem::path& root() const { return root_; }
  std::string Path() const { return root_.string(); }

  // Writes `bytes` exactly (binary) to `relative`, creating the folders on the way.
  std::filesystem::path WriteFile(const std::filesystem::path& relative,
                                  const std::string& bytes) const {
    const std::filesystem::path file = root_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    return file;
  }

  static std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path root_;
};
