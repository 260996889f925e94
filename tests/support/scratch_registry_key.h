// A registry key of the test's own, HKEY_CURRENT_USER\Software\EchotapTest-<test>-<random>, deleted
// with its values when the owner goes out of scope; the sibling of ScratchFolder. Tests keep it
// free of subkeys. The key exists only once something has been written to it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "owned_key.h"

class ScratchRegistryKey {
 public:
  ScratchRegistryKey() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = "Software\\EchotapTest-";
    path_ += test != nullptr ? test->name() : "test";
    path_ += "-" + std::to_string(std::random_device{}());
  }
  ScratchRegistryKey(const ScratchRegistryKey&) = delete;
  ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;
  ~ScratchRegistryKey() { RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str()); }

  // The subkey path under HKEY_CURRENT_USER.
  const char* path() const { return path_.c_str(); }

  struct Value {
    bool found = false;
    DWORD type = 0;
    std::vector<uint8_t> bytes;
  };

  Value Query(const char* name) const {
    Value value;
    OwnedKey key;
    DWORD size = 0;
    if (OpenKeyInto(HKEY_CURRENT_USER, path(), KEY_READ, &key) == ERROR_SUCCESS &&
        RegQueryValueExA(key.get(), name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
      value.bytes.resize(size);
      value.found = RegQueryValueExA(key.get(), name, nullptr, &value.type, value.bytes.data(),
                                     &size) == ERROR_SUCCESS;
    }
    return value;
  }

  void Set(const char* name, DWORD type, const std::vector<uint8_t>& bytes) const {
    OwnedKey key;
    ASSERT_EQ(CreateKeyInto(HKEY_CURRENT_USER, path(), KEY_WRITE, &key), ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExA(key.get(), name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
        ERROR_SUCCESS);
  }

  bool Exists() const {
    OwnedKey key;
    return OpenKeyInto(HKEY_CURRENT_USER, path(), KEY_READ, &key) == ERROR_SUCCESS;
  }

 private:
  std::string path_;
};
