// A registry key of its own for each test, HKEY_CURRENT_USER\Software\Win32PlatformTests\<test>,
// deleted with everything below it before and after the test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "owned_key.h"

class RegistryTest : public ::testing::Test {
 protected:
  static constexpr const char* kParentPath = "Software\\Win32PlatformTests";

  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::string(kParentPath) + "\\" + test->test_suite_name() + "." + test->name();
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    ASSERT_EQ(CreateKeyInto(HKEY_CURRENT_USER, path_.c_str(), KEY_ALL_ACCESS, &main_),
              ERROR_SUCCESS);
  }

  void TearDown() override {
    main_.reset();
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()), ERROR_SUCCESS);
    RegDeleteKeyA(HKEY_CURRENT_USER, kParentPath);  // fails while other tests' keys remain
  }

  // The path of the test's key below HKEY_CURRENT_USER, and of `subkey` below it.
  std::string PathOf(const std::string& subkey = "") const {
    return subkey.empty() ? path_ : path_ + "\\" + subkey;
  }
  HKEY main() const { return main_.get(); }

 private:
  std::string path_;
  OwnedKey main_;
};
