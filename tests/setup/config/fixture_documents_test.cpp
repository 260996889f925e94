// Documents saved by one build are read by the other: the fixtures were written by Save in the
// native build and in the Windows build (run under Wine) from the same content, listed below.
#include <filesystem>
#include <string>

#include "config_files.h"

namespace {

// The fixtures sit beside the test sources.
std::filesystem::path FixtureFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures";
}

// What every fixture holds, as `Dump` shows it; `after` follows every value.
std::string SavedContent(const std::string& after) {
  auto v = [&after](const std::string& value) { return value + after; };
  return "common{id=" + v("1207") + ";name=" + v("Tonecraft Studio") + ";version=" + v("7.0.3") +
         ";namefull=" + v("QB Tonecraft Studio") + ";edition=" + v("Amber") + "}" +
         " my section{7zip=" + v("archiver") + ";a_b=" + v("under score") + ";empty=" + v("") +
         "}" + " Values{markup=" + v("a & b < c > d") + ";ratio=" + v("0.125") +
         ";big=" + v("1.23457e+006") + ";flags=" + v("03000000020100000102FF") +
         ";negative=" + v("-42") + "}" + " groups{name=" + v("GROUP") +
         ";path=" + v("C:\\Suite\\Groups") + "}";
}

using FixtureDocuments = ConfigFiles;

TEST_F(FixtureDocuments, EachBuildReadsWhatTheOtherSaved) {
  struct Case {
    const char* file;
    std::string content;
  };
  const Case cases[] = {
      {"config_saved_by_linux.xml", SavedContent("")},
      // Wine's writer puts a line break and the entry's indentation before each entry's end tag
      // (Windows does not), so every value read from this file ends with that white space.
      {"config_saved_by_windows_under_wine.xml", SavedContent("\n\t\t")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::filesystem::path fixture = FixtureFolder() / c.file;
    ASSERT_TRUE(std::filesystem::exists(fixture)) << fixture.string();
    std::filesystem::copy_file(fixture, SuiteFolder() / c.file);

    ConfigDocument document;
    ASSERT_EQ(document.Load(c.file), 1);
    EXPECT_EQ(Dump(document), c.content);
  }
}

TEST_F(FixtureDocuments, TypedValuesReadBackFromEitherBuild) {
  struct Case {
    const char* file;
    std::string after;  // as above
  };
  const Case cases[] = {
      {"config_saved_by_linux.xml", ""},
      {"config_saved_by_windows_under_wine.xml", "\n\t\t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::filesystem::copy_file(FixtureFolder() / c.file, SuiteFolder() / c.file);
    ConfigDocument document;
    ASSERT_EQ(document.Load(c.file), 1);
    EXPECT_EQ(document.GetInt("common", "id", 0), 1207);
    EXPECT_EQ(document.GetInt("values", "negative", 0), -42);
    EXPECT_EQ(document.GetDouble("values", "ratio", 0.0), 0.125);
    EXPECT_EQ(document.GetDouble("values", "big", 0.0), 1234570.0);
    EXPECT_EQ(std::string(document.GetString("MY SECTION", "7ZIP", "?")), "archiver" + c.after);
    // A binary value followed by white space is no longer a well-formed value and is refused.
    unsigned char flags[3] = {};
    EXPECT_EQ(document.GetBinary("values", "flags", flags, 3), c.after.empty() ? 1 : 0);
    if (c.after.empty()) {
      EXPECT_EQ(flags[2], 0xFF);
    }
  }
}

}  // namespace
