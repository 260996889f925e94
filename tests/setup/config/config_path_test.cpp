#include "config/config_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "scoped_environment_variable.h"

namespace {

const char kAppData[] = "C:\\Users\\tester\\AppData\\Roaming";
const std::string kBase = std::string(kAppData) + "\\Quenby\\QVX7\\";

TEST(ConfigPath, DriveLetterPathsAreKeptAndAllOthersGoUnderTheApplicationDataFolder) {
  ScopedEnvironmentVariable appData("APPDATA", kAppData);
  struct Case {
    const char* given;
    std::string resolved;
  };
  const Case cases[] = {
      {"product.xml", kBase + "product.xml"},
      {"sub\\groups.xml", kBase + "sub\\groups.xml"},
      {"D:\\Suite\\product.xml", "D:\\Suite\\product.xml"},
      {"D:/Suite/product.xml", "D:/Suite/product.xml"},
      {"x:", "x:"},
      {"\\\\server\\share\\product.xml", kBase + "\\\\server\\share\\product.xml"},
      {"\\product.xml", kBase + "\\product.xml"},
      {":product.xml", kBase + ":product.xml"},
      {"p", kBase + "p"},
      {"", kBase},
      {nullptr, kBase},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given != nullptr ? c.given : "(null)");
    EXPECT_EQ(ResolveConfigPath(c.given), c.resolved);
  }
}

// Without a usable base folder a relative name resolves to nothing: reading the current folder or
// a cut folder name would reach another file than the one meant.
TEST(ConfigPath, RelativePathsResolveToNothingWithoutAUsableApplicationDataFolder) {
  struct Case {
    const char* label;
    std::optional<std::string> appData;
    bool resolves;
  };
  const Case cases[] = {
      {"unset", std::nullopt, false},
      {"empty", std::string(), false},
      {"246 bytes: base of 259 fits", "C:\\" + std::string(243, 'a'), true},
      {"247 bytes: base of 260 does not", "C:\\" + std::string(244, 'a'), false},
      {"259 bytes", "C:\\" + std::string(256, 'a'), false},
      {"longer than the buffer", "C:\\" + std::string(400, 'a'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ScopedEnvironmentVariable appData("APPDATA", c.appData ? c.appData->c_str() : nullptr);
    const std::string resolved = ResolveConfigPath("product.xml");
    if (c.resolves) {
      EXPECT_EQ(resolved, *c.appData + "\\Quenby\\QVX7\\product.xml");
    } else {
      EXPECT_EQ(resolved, "");
    }
    EXPECT_EQ(ResolveConfigPath("E:\\product.xml"), "E:\\product.xml");
  }
}

}  // namespace
