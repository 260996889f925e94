// Reading configuration documents through the XML engine: the shape that is accepted, the names'
// decoding and where reading stops.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config_files.h"
#include "unique_resource.h"

namespace {

// UTF-16 text in the ANSI code page, as the reader hands it on.
std::string Ansi(const std::u16string& text) {
  const auto* wide = reinterpret_cast<const WCHAR*>(text.c_str());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 1, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, &out[0], size, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

std::string Settings(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<settings>" + inner +
         "</settings>";
}

using ConfigReader = ConfigFiles;

struct ReadCase {
  const char* label;
  std::string text;
  std::string content;
};

TEST_F(ConfigReader, ReadsSectionsAndEntriesInFileOrder) {
  const ReadCase cases[] = {
      {"indented document",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<settings>\r\n"
       "\t<common>\r\n\t\t<id>42</id>\r\n\t\t<name>Tone</name>\r\n\t</common>\r\n"
       "\t<paths>\r\n\t\t<root>C:\\Suite</root>\r\n\t</paths>\r\n</settings>\r\n",
       "common{id=42;name=Tone} paths{root=C:\\Suite}"},
      {"no declaration", "<settings><s><k>v</k></s></settings>", "s{k=v}"},
      {"encoded names", Settings("<my_20section><_37zip>a</_37zip><a_5Fb>b</a_5Fb></my_20section>"),
       "my section{7zip=a;a_b=b}"},
      {"hex digits in either case", Settings("<a_2fb><k>1</k></a_2fb><a_2Fb><k2>2</k2></a_2Fb>"),
       "a/b{k=1;k2=2}"},
      {"underscores without two hex digits",
       Settings("<a_zb><a_2z>1</a_2z><a_2>2</a_2><_>3</_></a_zb>"), "a_zb{a_2z=1;a_2=2;_=3}"},
      {"entries without text", Settings("<s><empty/><empty2></empty2></s>"), "s{empty=;empty2=}"},
      {"sections without entries", Settings("<lonely/><lonely2>  text  </lonely2><s><k>v</k></s>"),
       "s{k=v}"},
      {"one section in two spellings",
       Settings("<common><a>1</a></common><COMMON><b>2</b><A>3</A></COMMON>"), "common{a=3;b=2}"},
      {"text outside entries is dropped", Settings("root text<s>section text<k>v</k>more</s>"),
       "s{k=v}"},
      {"escaped text", Settings("<s><k>a &amp; b &lt; c &gt; d \"q\" 'a' &#65;</k></s>"),
       "s{k=a & b < c > d \"q\" 'a' A}"},
      {"character data section", Settings("<s><k><![CDATA[<raw> & ]]>tail</k></s>"),
       "s{k=<raw> & tail}"},
      {"line ends become line feeds", Settings("<s><k>a\r\nb\rc\nd</k></s>"), "s{k=a\nb\nc\nd}"},
      {"white space inside values stays", Settings("<s><k>  two  words \t</k></s>"),
       "s{k=  two  words \t}"},
      {"attributes, comments, instructions and prefixes are passed over",
       "<settings xmlns:x=\"urn:x\" version=\"2\"><!-- note --><x:common a=\"1\">"
       "<x:id b=\"2\">7</x:id><?pi data?></x:common></settings>",
       "common{id=7}"},
      {"a repeated key keeps its place and the last value",
       Settings("<s><a>1</a><b>2</b><A>3</A></s>"), "s{a=3;b=2}"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(LoadText(c.text), c.content);
  }
}

// Text arrives converted to the ANSI code page; element names stand for the bytes of 8-bit names,
// so a hexadecimal pair gives that byte whatever the code page.
TEST_F(ConfigReader, TextIsHandedOnInTheAnsiCodePageAndNamesAsBytes) {
  const std::string e = Ansi(u"\u00e9");
  ASSERT_FALSE(e.empty());
  EXPECT_EQ(LoadText(Settings("<s><k>caf&#233;</k><_E9t_E9>x</_E9t_E9></s>")),
            "s{k=caf" + e + ";\xE9t\xE9=x}");
}

TEST_F(ConfigReader, StopsWhereTheShapeIsWrongAndKeepsWhatWasReadBefore) {
  const ReadCase cases[] = {
      {"root spelled with a capital", "<Settings><s><k>v</k></s></Settings>", ""},
      {"another root", "<config><s><k>v</k></s></config>", ""},
      {"an element inside an entry",
       Settings("<s><k1>1</k1><k2>x<child>y</child>z</k2><k3>3</k3></s><t><k>v</k></t>"),
       "s{k1=1}"},
      {"an empty element inside an entry", Settings("<s><k1>1</k1><k2><child/></k2></s>"),
       "s{k1=1}"},
      {"deeper nesting", Settings("<s><k><deep><deeper/></deep></k></s>"), ""},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(LoadText(c.text), c.content);
  }
}

TEST_F(ConfigReader, DamagedFilesKeepTheEntriesReadBeforeTheFault) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) {
    garbage += static_cast<char>((i * 37 + 11) & 0xFF);
  }
  const ReadCase cases[] = {
      {"empty file", "", ""},
      {"declaration only", "<?xml version=\"1.0\"?>", ""},
      {"binary", garbage, ""},
      {"binary after the root", "<settings><s><k>v</k></s>" + garbage, "s{k=v}"},
      {"truncated", "<settings><s><k1>1</k1><k2>2</k2><k3>3", "s{k1=1;k2=2}"},
      {"mismatched end tag", "<settings><s><k1>1</k1><k2>2</k3></s></settings>", "s{k1=1}"},
      {"undefined entity", "<settings><s><k1>1</k1><k2>&bogus;</k2></s></settings>", "s{k1=1}"},
      {"second root", "<settings><s><k>1</k></s></settings><settings><t><k>2</k></t></settings>",
       "s{k=1}"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(LoadText(c.text), c.content);
  }
}

TEST_F(ConfigReader, DeepNestingEndsTheReadingWithoutHarm) {
  std::string deep = "<settings><s><k>1</k><k2>";
  for (int i = 0; i < 100000; ++i) {
    deep += "<d>";
  }
  EXPECT_EQ(LoadText(deep), "s{k=1}");
}

TEST_F(ConfigReader, LargeDocumentsAreReadWhole) {
  std::string text = "<settings>";
  for (int s = 0; s < 2000; ++s) {
    text += "<s" + std::to_string(s) + ">";
    for (int k = 0; k < 5; ++k) {
      text += "<k" + std::to_string(k) + ">" + std::to_string(s * 5 + k) + "</k" +
              std::to_string(k) + ">";
    }
    text += "</s" + std::to_string(s) + ">";
  }
  const std::string bigValue(1 << 20, 'v');
  text += "<big><value>" + bigValue + "</value></big></settings>";

  ConfigDocument document;
  ASSERT_EQ(document.Load(Write("large.xml", text).c_str()), 1);
  ASSERT_EQ(document.GetSectionCount(), 2001u);
  EXPECT_STREQ(document.GetString("s1999", "k4", ""), "9999");
  EXPECT_EQ(document.GetInt("s1234", "k2", -1), 6172);
  EXPECT_EQ(std::string(document.GetString("big", "value", "")), bigValue);
}

// Element names whose decoded form has no place in a 1024-byte buffer, or that would decode to a
// NUL, are not stored under a cut or different name: their entries are passed over and reading
// goes on.
TEST_F(ConfigReader, NamesWithoutADecodedFormArePassedOver) {
  const std::string longName(1024, 'n');
  const std::string longestName(1023, 'n');
  const ReadCase cases[] = {
      {"long key", Settings("<s><" + longName + ">x</" + longName + "><k>v</k></s>"), "s{k=v}"},
      {"long section", Settings("<" + longName + "><k>1</k></" + longName + "><t><k>2</k></t>"),
       "t{k=2}"},
      {"longest key that fits", Settings("<s><" + longestName + ">x</" + longestName + "></s>"),
       "s{" + longestName + "=x}"},
      {"key with a NUL", Settings("<s><a_00b>x</a_00b><k>v</k></s>"), "s{k=v}"},
      {"section with a NUL", Settings("<a_00><k>1</k></a_00><t><k>2</k></t>"), "t{k=2}"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(LoadText(c.text), c.content);
  }
}

TEST_F(ConfigReader, LoadReplacesTheContentAndMarksTheDocumentLoadedEvenWithoutAFile) {
  ConfigDocument document;
  document.SetString("old", "k", "v");
  EXPECT_EQ(document.Load("missing.xml"), 1);
  EXPECT_EQ(document.GetSectionCount(), 0u);
  EXPECT_EQ(document.IsUnloaded(), 0);
  EXPECT_EQ(document.GetPath(), folder_.Path() + "\\Quenby\\QVX7\\missing.xml");

  // A folder given as the file, and a file inside a missing folder.
  std::filesystem::create_directories(SuiteFolder() / "folder.xml");
  for (const char* name : {"folder.xml", "nowhere\\file.xml"}) {
    SCOPED_TRACE(name);
    document.SetString("old", "k", "v");
    EXPECT_EQ(document.Load(name), 1);
    EXPECT_EQ(Dump(document), "");
  }
}

TEST_F(ConfigReader, AFileThatCannotBeOpenedReadsAsEmpty) {
  const std::string name = Write("locked.xml", Settings("<s><k>v</k></s>"));
  const std::filesystem::path file = SuiteFolder() / name;
  // Held open without sharing, the file cannot be opened again on Windows; elsewhere its
  // permissions are taken away.
  UniqueFile holder(CreateFileA(file.string().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (std::ifstream(file).is_open()) {
    std::filesystem::permissions(file, std::filesystem::perms::none);
  }
  const bool unreadable = !std::ifstream(file).is_open();
  ConfigDocument document;
  if (unreadable) {
    EXPECT_EQ(document.Load(name.c_str()), 1);
    EXPECT_EQ(Dump(document), "");
  }
  holder.reset();
  std::filesystem::permissions(file, std::filesystem::perms::owner_all);
  if (!unreadable) {
    GTEST_SKIP() << "this user reads every file: no unreadable file can be made";
  }
}

// The reader copies the resolved path into a 324-byte buffer with its NUL; a longer path would be
// cut and name another file, so it is not read at all. The long paths here step in and out of a
// folder ("x\\..\\") so that they name a file every system can open.
TEST_F(ConfigReader, PathsLongerThan323BytesAreNotRead) {
  Write("p.xml", Settings("<s><k>v</k></s>"));
  std::filesystem::create_directories(SuiteFolder() / "x");
  const std::string base = folder_.Path() + "\\Quenby\\QVX7\\";
  const std::string tail = "\\..\\p.xml";
  for (size_t length :
       {ConfigDocument::kMaxReadPathLength, ConfigDocument::kMaxReadPathLength + 1}) {
    SCOPED_TRACE(length);
    std::string relative;
    while (base.size() + relative.size() + 5 + 1 + tail.size() < length) {
      relative += "x\\..\\";
    }
    // One more folder whose name takes up the rest.
    const std::string padding(length - base.size() - relative.size() - tail.size(), 'y');
    std::filesystem::create_directories(SuiteFolder() / padding);
    relative += padding + tail;

    ConfigDocument document;
    EXPECT_EQ(document.Load(relative.c_str()), 1);
    EXPECT_EQ(document.GetPath().size(), length);
    EXPECT_EQ(Dump(document), length <= ConfigDocument::kMaxReadPathLength ? "s{k=v}" : "");
  }
}

}  // namespace
