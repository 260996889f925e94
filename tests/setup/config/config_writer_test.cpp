// Saving configuration documents through the XML engine's writer, and reading them back.
#include <windows.h>

#include <filesystem>
#include <string>

#include "config_files.h"
#include "wine_marks.h"

namespace {

// Saving does not start COM: every caller has read a document on the same thread before, and so
// does each test.
class ConfigWriter : public ConfigFiles {
 protected:
  ConfigWriter() {
    ConfigDocument first;
    first.Load("nothing yet.xml");
  }
};

// Seen under Wine, not on Windows: Wine's writer puts a line break and the entry's indentation
// before the end tag of every entry, also after empty text, and the reader takes that white space
// into the value. The value as it reads back on this platform:
std::string AsReadBack(const std::string& value) {
  return RunningUnderWine() ? value + "\n\t\t" : value;
}

void FillSample(ConfigDocument& document) {
  document.SetString("common", "id", "42");
  document.SetString("common", "name", "Tone & <Co>");
  document.SetString("common", "empty", "");
  document.SetString("my section", "7zip", "x");
}

const char kSampleText[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<settings>\r\n"
    "\t<common>\r\n"
    "\t\t<id>42</id>\r\n"
    "\t\t<name>Tone &amp; &lt;Co&gt;</name>\r\n"
    "\t\t<empty></empty>\r\n"
    "\t</common>\r\n"
    "\t<my_20section>\r\n"
    "\t\t<_37zip>x</_37zip>\r\n"
    "\t</my_20section>\r\n"
    "</settings>";

const char kSampleTextAsWineWritesIt[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<settings>\r\n"
    "\t<common>\r\n"
    "\t\t<id>42\r\n\t\t</id>\r\n"
    "\t\t<name>Tone &amp; &lt;Co&gt;\r\n\t\t</name>\r\n"
    "\t\t<empty>\r\n\t\t</empty>\r\n"
    "\t</common>\r\n"
    "\t<my_20section>\r\n"
    "\t\t<_37zip>x\r\n\t\t</_37zip>\r\n"
    "\t</my_20section>\r\n"
    "</settings>";

TEST_F(ConfigWriter, WritesTheIndentedXmlFormWithEncodedNames) {
  ConfigDocument document;
  document.SetPath("sample.xml");
  FillSample(document);
  ASSERT_EQ(document.Save(), 1);
  std::string written = Read("sample.xml");
  // Some writers close the document with a line end; the form is the same.
  if (written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0) {
    written.resize(written.size() - 2);
  }
  // Under Wine only the white space before the entries' end tags differs (see AsReadBack).
  EXPECT_EQ(written, RunningUnderWine() ? kSampleTextAsWineWritesIt : kSampleText);
}

TEST_F(ConfigWriter, WhatIsSavedReadsBackTheSame) {
  ConfigDocument document;
  document.SetPath("round.xml");
  std::string everyByte;
  for (int byte = 1; byte < 256; ++byte) {
    everyByte += static_cast<char>(byte);
  }
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };
  const Entry entries[] = {
      {"common", "id", "42"},
      {"common", "empty", ""},
      {"common", "markup", "a & b < c > d \"q\" 'a' ]]> <!-- x -->"},
      {"common", "spaces", "  two  words \t"},
      {"common", "lines", "one\ntwo\n"},
      {"my section", "7zip", "x"},
      {"my section", "a_b", "_"},
      {"names", everyByte, "every byte in the key"},
      {"2nd", "9", "digits"},
  };
  for (const Entry& e : entries) {
    document.SetString(e.section.c_str(), e.key.c_str(), e.value.c_str());
  }
  ASSERT_EQ(document.Save(), 1);

  ConfigDocument back;
  ASSERT_EQ(back.Load("round.xml"), 1);
  ConfigDocument expected;
  for (const Entry& e : entries) {
    expected.SetString(e.section.c_str(), e.key.c_str(), AsReadBack(e.value).c_str());
  }
  EXPECT_EQ(Dump(back), Dump(expected));
}

TEST_F(ConfigWriter, SaveLeavesTheDocumentAsItWasAndReplacesTheFile) {
  Write("replace.xml", std::string(100000, '#'));
  ConfigDocument document;
  document.SetPath("replace.xml");
  FillSample(document);
  const std::string before = Dump(document);
  ASSERT_EQ(document.Save(), 1);
  ASSERT_EQ(document.Save(), 1);
  EXPECT_EQ(Dump(document), before);
  EXPECT_EQ(Read("replace.xml").find('#'), std::string::npos);
}

// A section is written even without entries, but reading creates a section only with its first
// entry: such a section does not come back.
TEST_F(ConfigWriter, SectionsWithoutEntriesAreWrittenButDoNotComeBack) {
  ConfigDocument document;
  document.SetPath("sparse.xml");
  document.GetOrCreateSection("no entries");
  document.SetString("s", "k", "v");
  ASSERT_EQ(document.Save(), 1);
  EXPECT_NE(Read("sparse.xml").find("<no_20entries/>"), std::string::npos);
  ConfigDocument back;
  back.Load("sparse.xml");
  EXPECT_EQ(Dump(back), "s{k=" + AsReadBack("v") + "}");

  ConfigDocument empty;
  empty.SetPath("empty.xml");
  ASSERT_EQ(empty.Save(), 1);
  EXPECT_EQ(Read("empty.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<settings/>");
}

TEST_F(ConfigWriter, FailsWithoutTouchingAnythingWhenTheFileCannotBeMade) {
  std::filesystem::create_directories(SuiteFolder() / "folder.xml");
  const char* const targets[] = {"folder.xml", "missing folder\\file.xml"};
  for (const char* target : targets) {
    SCOPED_TRACE(target);
    ConfigDocument document;
    document.SetPath(target);
    FillSample(document);
    EXPECT_EQ(document.Save(), 0);
  }
  EXPECT_TRUE(std::filesystem::is_directory(SuiteFolder() / "folder.xml"));

  ScopedEnvironmentVariable noAppData("APPDATA", nullptr);
  ConfigDocument unresolved;
  unresolved.SetPath("nowhere.xml");
  EXPECT_EQ(unresolved.GetPath(), "");
  FillSample(unresolved);
  EXPECT_EQ(unresolved.Save(), 0);
}

// A name without an element form (empty, or encoded longer than 1023 bytes) cannot be written
// without losing it or writing another name, and a control character other than tab, line feed and
// carriage return would be written as it is and make the whole file unreadable: Save refuses and
// the file on disk stays as it was.
TEST_F(ConfigWriter, RefusesWhatTheXmlFormCannotCarryAndKeepsTheOldFile) {
  struct Case {
    const char* label;
    std::string section;
    std::string key;
    std::string value;
  };
  const Case cases[] = {
      {"empty section name", "", "k", "v"},
      {"empty key", "s", "", "v"},
      {"section name too long when encoded", std::string(342, ' '), "k", "v"},
      {"key too long", "s", std::string(1024, 'k'), "v"},
      {"control character in a value", "s", "k", "a\x01b"},
      {"escape character in a value", "s", "k", "\x1B[0m"},
      {"form feed in a value", "s", "k", "page\fbreak"},
  };
  Write("kept.xml", "<settings><old><k>v</k></old></settings>");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ConfigDocument document;
    document.SetPath("kept.xml");
    FillSample(document);
    document.SetString(c.section.c_str(), c.key.c_str(), c.value.c_str());
    EXPECT_EQ(document.Save(), 0);
    EXPECT_EQ(Read("kept.xml"), "<settings><old><k>v</k></old></settings>");
  }
}

TEST_F(ConfigWriter, WritesTheLongestNamesAndEveryCharacterXmlCarries) {
  const std::string section(341, ' ');
  const std::string key(1023, 'k');
  std::string text = "\t\n";
  for (int byte = 0x20; byte < 0x80; ++byte) {
    text += static_cast<char>(byte);
  }
  ConfigDocument document;
  document.SetPath("longest.xml");
  document.SetString(section.c_str(), key.c_str(), text.c_str());
  // A carriage return is written, but XML reads every line end as a line feed.
  document.SetString("lines", "k", "one\r\ntwo\rthree");
  ASSERT_EQ(document.Save(), 1);
  ConfigDocument back;
  back.Load("longest.xml");
  EXPECT_EQ(back.GetString(section.c_str(), key.c_str(), ""), AsReadBack(text));
  EXPECT_EQ(back.GetString("lines", "k", ""), AsReadBack("one\ntwo\nthree"));
}

}  // namespace
