// Pieces shared by the XML bridge tests: a scratch folder for fixture files, whole-file reads and
// writes, a document that records what its hooks receive, and a visible skip.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "wine_marks.h"
#include "xml/sax_handler_base.h"

namespace xml_test {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    const unsigned salt = std::random_device{}();
    do {
      root_ = std::filesystem::temp_directory_path() /
              ("qvx-xml-" + std::to_string(salt) + "-" + std::to_string(counter++));
    } while (!std::filesystem::create_directory(root_));
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // The path of `name` in the folder, as an installer would pass it.
  std::string File(const std::string& name) const { return (root_ / name).string(); }
  // Writes `bytes` exactly and answers the path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
  }

 private:
  std::filesystem::path root_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

// Records every hook call as "<name" (start), ">name" (end) or "'text" (one chunk), and answers 1
// from the call numbered `stopAt` (counting from 0), 0 from all others.
class RecordingDocument : public SaxHandlerBase {
 public:
  std::vector<std::string> events;
  int stopAt = -1;

  // All text chunks run together, whitespace included.
  std::string Text() const {
    std::string text;
    for (const std::string& event : events) {
      if (event[0] == '\'') {
        text += event.substr(1);
      }
    }
    return text;
  }
  // The events with text chunks merged and whitespace-only text left out: the document's shape.
  std::vector<std::string> Shape() const {
    std::vector<std::string> shape;
    std::string text;
    auto flush = [&] {
      if (text.find_first_not_of(" \t\r\n") != std::string::npos) {
        shape.push_back("'" + text);
      }
      text.clear();
    };
    for (const std::string& event : events) {
      if (event[0] == '\'') {
        text += event.substr(1);
      } else {
        flush();
        shape.push_back(event);
      }
    }
    flush();
    return shape;
  }

 protected:
  int OnStartElement(const char* name) override { return Record("<", name); }
  int OnEndElement(const char* name) override { return Record(">", name); }
  int OnCharacters(const char* text) override { return Record("'", text); }

 private:
  int Record(const char* kind, const char* value) {
    events.push_back(kind + std::string(value));
    return static_cast<int>(events.size()) - 1 == stopAt ? 1 : 0;
  }
};

// The count of references to `object`, found by taking one more and giving it back.
inline ULONG ReferenceCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

}  // namespace xml_test

// Skips the test, saying why. Under the Wine launcher a skip reported to GoogleTest ends the
// program (see wine_marks.h), so there the reason goes to the output and the test returns.
#define XML_TEST_SKIP(reason)                                                                     \
  do {                                                                                            \
    if (RunningUnderWine()) {                                                                     \
      std::cout << "skipped: " << ::testing::UnitTest::GetInstance()->current_test_info()->name() \
                << ": " << (reason) << std::endl;                                                 \
      return;                                                                                     \
    }                                                                                             \
    GTEST_SKIP() << (reason);                                                                     \
  } while (false)
