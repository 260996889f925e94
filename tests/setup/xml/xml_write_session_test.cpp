// Writing documents through the engine's XML writer into a file: the exact bytes, and that a
// write which cannot finish never leaves a broken file where a good one was.
#include "xml/xml_write_session.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "xml/xml_engine.h"
#include "xml/xml_file_reader.h"
#include "xml/xml_write_helpers.h"
#include "xml_test_support.h"

using xml_test::Exists;
using xml_test::ReadBytes;
using xml_test::RecordingDocument;
using xml_test::TempFolder;

namespace {

const char kOldContents[] = "<settings><old>kept</old></settings>";

class XmlWriteSessionTest : public ::testing::Test {
 protected:
  // The session does not start COM itself: its callers always read a document first.
  void SetUp() override { InitializeCom(); }
};

void WriteSample(XmlWriteSession& session) {
  session.StartElement("settings");
  session.StartElement("common");
  session.TextElement("name", "Voice Suite");
  session.TextElement("escaped", "a<b>&c\"d'e");
  session.TextElement("empty", "");
  session.TextElement("nothing", nullptr);
  session.EndElement("common");
  session.StartElement("group");
  session.EndElement("group");
  session.EndElement("settings");
}

const char kSampleBytes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<settings>\r\n"
    "\t<common>\r\n"
    "\t\t<name>Voice Suite</name>\r\n"
    "\t\t<escaped>a&lt;b&gt;&amp;c\"d'e</escaped>\r\n"
    "\t\t<empty></empty>\r\n"
    "\t\t<nothing/>\r\n"
    "\t</common>\r\n"
    "\t<group/>\r\n"
    "</settings>";

// What Wine's writer makes of the same calls: a line break and the element's indentation also
// before each end tag that follows a characters call, even an empty one.
std::string AsWineWritesIt(const std::string& bytes) {
  std::string result;
  int depth = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes.compare(i, 2, "</") == 0) {
      --depth;
      if (bytes[i - 1] != '\t' && bytes[i - 1] != '\n') {
        result += "\r\n" + std::string(depth, '\t');
      }
    } else if (bytes[i] == '<' && bytes.compare(i, 2, "<?") != 0) {
      const size_t close = bytes.find('>', i);
      if (bytes[close - 1] != '/') ++depth;
    }
    result.push_back(bytes[i]);
  }
  return result;
}

}  // namespace

TEST_F(XmlWriteSessionTest, WritesTheDocumentAsTheEngineFormatsIt) {
  TempFolder folder;
  const std::string path = folder.File("settings.xml");
  XmlWriteSession session(path.c_str());
  ASSERT_TRUE(session.IsOpen());
  WriteSample(session);
  ASSERT_TRUE(session.Finish());
  const std::string bytes = ReadBytes(path);
  if (RunningUnderWine()) {
    // Known difference of the test platform (see AsWineWritesIt); everything else is exact.
    EXPECT_EQ(bytes, AsWineWritesIt(kSampleBytes));
  } else {
    EXPECT_EQ(bytes, kSampleBytes);
  }
  EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST_F(XmlWriteSessionTest, ReplacesAnExistingFileOnlyWhenFinished) {
  TempFolder folder;
  const std::string path = folder.Write("settings.xml", kOldContents);
  {
    XmlWriteSession session(path.c_str());
    ASSERT_TRUE(session.IsOpen());
    session.TextElement("settings", "new");
    EXPECT_EQ(ReadBytes(path), kOldContents) << "the target changed before the write finished";
  }  // never finished
  EXPECT_EQ(ReadBytes(path), kOldContents);
  EXPECT_FALSE(Exists(path + ".tmp"));

  XmlWriteSession session(path.c_str());
  ASSERT_TRUE(session.IsOpen());
  session.TextElement("settings", "new");
  ASSERT_TRUE(session.Finish());
  EXPECT_NE(ReadBytes(path).find("<settings>new"), std::string::npos);
  EXPECT_FALSE(session.Finish()) << "a session writes one document";
}

TEST_F(XmlWriteSessionTest, ReadsBackWhatItWrote) {
  struct Entry {
    const char* key;
    const char* value;
  };
  const Entry entries[] = {{"plain", "value"},
                           {"specials", "a & b < c > d \"e\" 'f'"},
                           {"spaces", "  inner  spaces  "},
                           {"empty", ""}};
  TempFolder folder;
  const std::string path = folder.File("round.xml");
  XmlWriteSession session(path.c_str());
  ASSERT_TRUE(session.IsOpen());
  session.StartElement("settings");
  for (const Entry& entry : entries) {
    session.TextElement(entry.key, entry.value);
  }
  session.EndElement("settings");
  ASSERT_TRUE(session.Finish());

  RecordingDocument document;
  ASSERT_EQ(ReadXmlFile(document, path.c_str()), XmlReadResult::kComplete);
  std::vector<std::string> expected{"<settings"};
  for (const Entry& entry : entries) {
    expected.push_back(std::string("<") + entry.key);
    std::string value = entry.value;
    if (RunningUnderWine()) {
      value += "\n\t";  // Wine's writer adds this before the end tag: a known test-platform quirk
    }
    if (!value.empty()) {
      expected.push_back("'" + value);
    }
    expected.push_back(std::string(">") + entry.key);
  }
  expected.push_back(">settings");
  // Each entry's value: the text between its start and its end; white space between elements is
  // left out.
  std::vector<std::string> seen;
  std::string text;
  std::string lastStart;
  for (const std::string& event : document.events) {
    if (event[0] == '\'') {
      text += event.substr(1);
      continue;
    }
    if (event[0] == '>' && event.substr(1) == lastStart && !text.empty()) {
      seen.push_back("'" + text);
    }
    lastStart = event[0] == '<' ? event.substr(1) : std::string();
    text.clear();
    seen.push_back(event);
  }
  EXPECT_EQ(seen, expected);
}

TEST_F(XmlWriteSessionTest, FileThatCannotBeCreatedWritesNothing) {
  TempFolder folder;
  const std::string inMissingFolder = folder.File("missing/settings.xml");
  // A folder where the temporary file would go.
  const std::string blocked = folder.Write("blocked.xml", kOldContents);
  std::filesystem::create_directory(blocked + ".tmp");
  for (const std::string& path : {inMissingFolder, blocked, std::string()}) {
    SCOPED_TRACE(path);
    XmlWriteSession session(path.c_str());
    EXPECT_FALSE(session.IsOpen());
    session.TextElement("settings", "x");
    EXPECT_FALSE(session.Finish());
  }
  EXPECT_FALSE(Exists(inMissingFolder));
  EXPECT_EQ(ReadBytes(blocked), kOldContents);
  EXPECT_TRUE(std::filesystem::is_directory(blocked + ".tmp")) << "not ours to remove";
  XmlWriteSession session(nullptr);
  EXPECT_FALSE(session.IsOpen());
}

TEST_F(XmlWriteSessionTest, ForeignTemporaryFileIsLeftAloneWhenTheWriterIsMissing) {
  TempFolder folder;
  const std::string path = folder.File("settings.xml");
  const std::string foreign = folder.Write("settings.xml.tmp", "someone else's");
  std::thread([&] {  // COM never started on this thread: the writer cannot be created
    XmlWriteSession session(path.c_str());
    EXPECT_FALSE(session.IsOpen());
    EXPECT_FALSE(session.Finish());
  })
      .join();
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(ReadBytes(foreign), "someone else's");
}

TEST_F(XmlWriteSessionTest, WriterThatCannotBeCreatedWritesNothing) {
#ifdef COMPAT_CLASS_AVAILABILITY_CONTROL
  TempFolder folder;
  const std::string path = folder.Write("settings.xml", kOldContents);
  compat::SetClassAvailable(kXmlWriterClassId, false);
  {
    XmlWriteSession session(path.c_str());
    EXPECT_FALSE(session.IsOpen());
    EXPECT_FALSE(session.Finish());
  }
  compat::SetClassAvailable(kXmlWriterClassId, true);
  EXPECT_EQ(ReadBytes(path), kOldContents);
  EXPECT_FALSE(Exists(path + ".tmp"));
#else
  XML_TEST_SKIP("the system engine's classes cannot be withdrawn from a test");
#endif
}

TEST_F(XmlWriteSessionTest, FullDiskLeavesThePreviousFileWhole) {
#ifdef COMPAT_WRITE_FAILURE_CONTROL
  for (size_t room : {size_t{0}, size_t{10}, size_t{100}}) {
    SCOPED_TRACE(room);
    TempFolder folder;
    const std::string path = folder.Write("settings.xml", kOldContents);
    XmlWriteSession session(path.c_str());
    ASSERT_TRUE(session.IsOpen());
    WriteSample(session);
    compat::FailWritesAfter(room);
    const bool finished = session.Finish();
    compat::ClearWriteFailure();
    EXPECT_FALSE(finished);
    EXPECT_EQ(ReadBytes(path), kOldContents);
    EXPECT_FALSE(Exists(path + ".tmp"));
  }
#else
  XML_TEST_SKIP("a full disk cannot be arranged for a test here");
#endif
}

namespace {

// A content handler that writes down each call the writer helpers make.
class CallLog final : public ISAXContentHandler {
 public:
  std::vector<std::string> calls;
  HRESULT answer = S_OK;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE putDocumentLocator(ISAXLocator*) override { return Log("locator"); }
  HRESULT STDMETHODCALLTYPE startDocument() override { return Log("startDocument"); }
  HRESULT STDMETHODCALLTYPE endDocument() override { return Log("endDocument"); }
  HRESULT STDMETHODCALLTYPE startPrefixMapping(const WCHAR*, int, const WCHAR*, int) override {
    return Log("startPrefixMapping");
  }
  HRESULT STDMETHODCALLTYPE endPrefixMapping(const WCHAR*, int) override {
    return Log("endPrefixMapping");
  }
  HRESULT STDMETHODCALLTYPE startElement(const WCHAR* uri, int uriLength, const WCHAR* local,
                                         int localLength, const WCHAR* qName, int qNameLength,
                                         ISAXAttributes* attributes) override {
    return Log("start " + Names(uri, uriLength, local, localLength, qName, qNameLength) +
               (attributes == nullptr ? " no-attributes" : " attributes"));
  }
  HRESULT STDMETHODCALLTYPE endElement(const WCHAR* uri, int uriLength, const WCHAR* local,
                                       int localLength, const WCHAR* qName,
                                       int qNameLength) override {
    return Log("end " + Names(uri, uriLength, local, localLength, qName, qNameLength));
  }
  HRESULT STDMETHODCALLTYPE characters(const WCHAR* text, int length) override {
    return Log("characters " + Show(text, length));
  }
  HRESULT STDMETHODCALLTYPE ignorableWhitespace(const WCHAR*, int) override {
    return Log("ignorableWhitespace");
  }
  HRESULT STDMETHODCALLTYPE processingInstruction(const WCHAR*, int, const WCHAR*, int) override {
    return Log("processingInstruction");
  }
  HRESULT STDMETHODCALLTYPE skippedEntity(const WCHAR*, int) override {
    return Log("skippedEntity");
  }

 private:
  HRESULT Log(const std::string& call) {
    calls.push_back(call);
    return answer;
  }
  // The text with its length, checked against the NUL that must follow it.
  static std::string Show(const WCHAR* text, int length) {
    if (text == nullptr) return "(null)";
    std::string shown = "\"";
    for (int i = 0; i < length; ++i) shown.push_back(static_cast<char>(text[i]));
    shown += "\"/" + std::to_string(length);
    if (text[length] != 0) shown += " unterminated";
    return shown;
  }
  static std::string Names(const WCHAR* uri, int uriLength, const WCHAR* local, int localLength,
                           const WCHAR* qName, int qNameLength) {
    return Show(uri, uriLength) + " " + Show(local, localLength) + " " + Show(qName, qNameLength);
  }
};

}  // namespace

TEST(XmlWriteHelpers, ElementsCarryOnlyTheQualifiedName) {
  CallLog log;
  EXPECT_EQ(WriteElement(&log, "settings", true), S_OK);
  EXPECT_EQ(WriteElement(&log, "settings", false), S_OK);
  EXPECT_EQ(WriteElement(&log, nullptr, true), S_OK);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"start \"\"/0 \"\"/0 \"settings\"/8 no-attributes",
                                                 "end \"\"/0 \"\"/0 \"settings\"/8",
                                                 "start \"\"/0 \"\"/0 \"\"/0 no-attributes"}));
}

TEST(XmlWriteHelpers, TextElementWritesTextUnlessItIsNull) {
  struct Case {
    const char* text;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"42",
       {"start \"\"/0 \"\"/0 \"id\"/2 no-attributes", "characters \"42\"/2",
        "end \"\"/0 \"\"/0 \"id\"/2"}},
      {"",
       {"start \"\"/0 \"\"/0 \"id\"/2 no-attributes", "characters \"\"/0",
        "end \"\"/0 \"\"/0 \"id\"/2"}},
      {nullptr, {"start \"\"/0 \"\"/0 \"id\"/2 no-attributes", "end \"\"/0 \"\"/0 \"id\"/2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text == nullptr ? "(null)" : c.text);
    CallLog log;
    EXPECT_EQ(WriteTextElement(&log, "id", c.text), S_OK);
    EXPECT_EQ(log.calls, c.calls);
  }
  CallLog log;
  EXPECT_EQ(WriteCharacters(&log, nullptr), S_OK);
  EXPECT_EQ(log.calls, std::vector<std::string>{"characters \"\"/0"});
}

TEST(XmlWriteHelpers, AnswerTheHandlersFailureAfterMakingEveryCall) {
  CallLog log;
  log.answer = E_FAIL;
  EXPECT_EQ(WriteTextElement(&log, "id", "1"), E_FAIL);
  EXPECT_EQ(log.calls.size(), 3u);
  EXPECT_EQ(WriteElement(&log, "id", true), E_FAIL);
  EXPECT_EQ(WriteCharacters(&log, "x"), E_FAIL);
}
