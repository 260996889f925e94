// The product identity queries answered from the product's configuration document, called as the
// installer calls them (through their C names, with the library's own state).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "identity_document.h"
#include "qvxsetup.h"
#include "scoped_environment_variable.h"
#include "scratch_folder.h"

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// A configuration document with one section of the given name holding the fields.
std::string DocumentText(const Fields& fields, const std::string& section = "common") {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<settings>\r\n\t<" + section + ">";
  for (const auto& [key, value] : fields) {
    text += "\r\n\t\t<" + key + ">" + value + "</" + key + ">";
  }
  return text + "\r\n\t</" + section + ">\r\n</settings>\r\n";
}

// Documents live in the suite's folder under a private APPDATA and are named relatively, as the
// installer names them.
class IdentityQueries : public ::testing::Test {
 protected:
  IdentityQueries() : appData_("APPDATA", folder_.Path().c_str()) {}

  std::string Write(const std::string& name, const std::string& text) {
    folder_.WriteFile(std::filesystem::path("Quenby") / "QVX7" / name, text);
    return name;
  }

  ScratchFolder folder_;
  ScopedEnvironmentVariable appData_;
};

TEST_F(IdentityQueries, AnswerTheIdentityKeysOfSectionCommon) {
  const std::string product =
      Write("product.xml", DocumentText({{"id", "1207"},
                                         {"name", "Tonecraft Studio"},
                                         {"version", "7.0.3"},
                                         {"namefull", "QB Tonecraft Studio Amber"},
                                         {"edition", "Amber"}}));
  EXPECT_EQ(f10(product.c_str()), 1207);
  EXPECT_STREQ(f11(product.c_str()), "Tonecraft Studio");
  EXPECT_STREQ(f12(product.c_str()), "7.0.3");
  EXPECT_STREQ(f13(product.c_str()), "QB Tonecraft Studio Amber");
  EXPECT_STREQ(f14(product.c_str()), "Tonecraft Studio Amber");
  EXPECT_STREQ(f21(product.c_str()), "Tonecraft 7.0 Amber");
  EXPECT_EQ(g_identityDocument.IsUnloaded(), 0);
}

TEST_F(IdentityQueries, TheIdentifierIsReadAsAtolReadsItAndIsZeroWhenAbsent) {
  struct Case {
    const char* label;
    Fields fields;
    int32_t id;
  };
  const Case cases[] = {
      {"digits then letters", {{"id", "42abc"}}, 42},
      {"blank and sign", {{"id", " -7"}}, -7},
      {"no digits", {{"id", "abc"}}, 0},
      {"empty", {{"id", ""}}, 0},
      {"absent", {{"name", "x"}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(f10(Write("id.xml", DocumentText(c.fields)).c_str()), c.id);
  }
}

TEST_F(IdentityQueries, SectionAndKeyNamesMatchRegardlessOfCase) {
  const std::string product =
      Write("upper.xml", DocumentText({{"Version", "2.5"}, {"NAME", "Loud"}}, "COMMON"));
  EXPECT_STREQ(f12(product.c_str()), "2.5");
  EXPECT_STREQ(f11(product.c_str()), "Loud");
}

TEST_F(IdentityQueries, TheBrandPrefixIsStrippedOnlyWhenTheFirstThreeCharactersAreIt) {
  struct Case {
    const char* fullName;
    const char* answer;
  };
  const Case cases[] = {
      {"QB Tonecraft", "Tonecraft"},
      {"qb Tonecraft", "Tonecraft"},
      {"Qb Tonecraft", "Tonecraft"},
      {"QB ", ""},
      {"QBTonecraft", "QBTonecraft"},
      {"QB", "QB"},
      {"Q", "Q"},
      {"", ""},
      {" QB Tonecraft", " QB Tonecraft"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fullName);
    const std::string product = Write("full.xml", DocumentText({{"namefull", c.fullName}}));
    EXPECT_STREQ(f14(product.c_str()), c.answer);
    EXPECT_STREQ(f13(product.c_str()), c.fullName);
  }
}

TEST_F(IdentityQueries, TheTitleFollowsTheFirstProductNameThatMatches) {
  struct Case {
    Fields fields;
    const char* title;
  };
  const Case cases[] = {
      {{{"name", "Visage Shifter"}, {"edition", "Amber"}}, "Visage Shifter 2.0 Amber"},
      {{{"name", "Playtone"}, {"edition", "Amber"}}, "Playtone 7.0"},
      {{{"name", "My Playtone Box"}}, "Playtone 7.0"},
      {{{"name", "Playtone Visage"}, {"edition", "Onyx"}}, "Visage Shifter 2.0 Onyx"},
      {{{"name", "visage shifter"}, {"edition", "Onyx"}}, "Tonecraft 7.0 Onyx"},
      {{{"name", "PLAYTONE"}}, "Tonecraft 7.0 "},
      {{{"name", "Tonecraft"}}, "Tonecraft 7.0 "},
      {{{"name", "Visage"}}, "Visage Shifter 2.0 "},
      {{{"edition", "Onyx"}}, "Tonecraft 7.0 Onyx"},
      {{{"name", "Tonecraft"}, {"edition", "100%s %d"}}, "Tonecraft 7.0 100%s %d"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const char* title = f21(Write("title.xml", DocumentText(c.fields)).c_str());
    EXPECT_EQ(title, g_titleBuffer);
    EXPECT_STREQ(title, c.title);
  }
}

// The title buffer holds 128 bytes with the NUL: an edition that would overflow it is cut, and
// the title keeps its first 127 bytes.
TEST_F(IdentityQueries, AnOverlongEditionIsCutToTheTitleBuffer) {
  struct Case {
    const char* name;
    const char* prefix;
  };
  const Case cases[] = {{"Visage", "Visage Shifter 2.0 "}, {"Tonecraft", "Tonecraft 7.0 "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t room = 127 - std::strlen(c.prefix);
    std::string edition;
    for (size_t i = 0; edition.size() < 3000; ++i) {
      edition += static_cast<char>('a' + i % 26);
    }
    std::memset(g_titleBuffer, 'x', sizeof g_titleBuffer);
    const char* title =
        f21(Write("long.xml", DocumentText({{"name", c.name}, {"edition", edition}})).c_str());
    EXPECT_EQ(std::string(title), c.prefix + edition.substr(0, room));

    // One byte short of the limit and exactly at it: nothing is cut.
    for (size_t length : {room - 1, room}) {
      const std::string fits = edition.substr(0, length);
      EXPECT_EQ(
          std::string(
              f21(Write("fits.xml", DocumentText({{"name", c.name}, {"edition", fits}})).c_str())),
          c.prefix + fits);
    }
  }
}

TEST_F(IdentityQueries, AMissingOrUnusableDocumentAnswersTheDefaults) {
  Write("broken.xml", "<settings><common><name>Half");
  const char* const paths[] = {"missing.xml", "broken.xml", nullptr, ""};
  for (const char* path : paths) {
    SCOPED_TRACE(path != nullptr ? path : "(null)");
    EXPECT_EQ(f10(path), 0);
    EXPECT_STREQ(f11(path), "");
    EXPECT_STREQ(f12(path), "");
    EXPECT_STREQ(f13(path), "");
    EXPECT_STREQ(f14(path), "");
    EXPECT_STREQ(f21(path), "Tonecraft 7.0 ");
  }
}

TEST_F(IdentityQueries, EveryQueryDiscardsWhatThePreviousOneLoaded) {
  const std::string first = Write("first.xml", DocumentText({{"name", "First"}, {"id", "1"}}));
  const std::string second = Write("second.xml", DocumentText({{"version", "2.0"}}));
  EXPECT_STREQ(f11(first.c_str()), "First");
  EXPECT_STREQ(f12(second.c_str()), "2.0");
  EXPECT_STREQ(g_identityDocument.GetString("common", "name", "gone"), "gone");
  EXPECT_EQ(f10(second.c_str()), 0);
}

TEST_F(IdentityQueries, WithoutABaseFolderARelativeNameReadsNothing) {
  const std::string product = Write("product.xml", DocumentText({{"name", "Present"}}));
  ASSERT_STREQ(f11(product.c_str()), "Present");
  ScopedEnvironmentVariable noAppData("APPDATA", nullptr);
  EXPECT_STREQ(f11(product.c_str()), "");
}

}  // namespace
