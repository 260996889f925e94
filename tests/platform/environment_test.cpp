// Process environment variables as GetEnvironmentVariableA and SetEnvironmentVariableA report them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

const char kName[] = "QVX_ENVIRONMENT_TEST";

class Environment : public ::testing::Test {
 protected:
  void TearDown() override { SetEnvironmentVariableA(kName, nullptr); }
};

TEST_F(Environment, AnUnsetVariableAnswersZeroAndSaysSo) {
  ASSERT_TRUE(SetEnvironmentVariableA(kName, nullptr));
  char buffer[8] = "keep";
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetEnvironmentVariableA(kName, buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
}

TEST_F(Environment, AValueIsCopiedWhenItFitsAndOnlyMeasuredWhenItDoesNot) {
  ASSERT_TRUE(SetEnvironmentVariableA(kName, "value"));
  struct Case {
    DWORD size;
    DWORD result;
    bool copied;
  };
  const Case cases[] = {
      {16, 5, true},
      {6, 5, true},   // exactly the value and its NUL
      {5, 6, false},  // one short: the size needed, NUL included
      {0, 6, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetEnvironmentVariableA(kName, buffer, c.size), c.result);
    if (c.copied) {
      EXPECT_STREQ(buffer, "value");
    }
  }
  EXPECT_EQ(GetEnvironmentVariableA(kName, nullptr, 0), 6u);
}

TEST_F(Environment, AVariableCanBeReplacedEmptiedAndRemoved) {
  char buffer[16];
  ASSERT_TRUE(SetEnvironmentVariableA(kName, "first"));
  ASSERT_TRUE(SetEnvironmentVariableA(kName, "second"));
  EXPECT_EQ(GetEnvironmentVariableA(kName, buffer, sizeof buffer), 6u);
  EXPECT_STREQ(buffer, "second");

  ASSERT_TRUE(SetEnvironmentVariableA(kName, ""));
  std::strcpy(buffer, "x");
  EXPECT_EQ(GetEnvironmentVariableA(kName, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");

  ASSERT_TRUE(SetEnvironmentVariableA(kName, nullptr));
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetEnvironmentVariableA(kName, buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
}

}  // namespace
