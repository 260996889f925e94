// FileStream as the XML writer sees it: an IStream over a file.
#include "xml/file_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "xml_test_support.h"

using xml_test::ReadBytes;
using xml_test::ReferenceCount;
using xml_test::TempFolder;

namespace {

class CountedStream : public FileStream {
 public:
  CountedStream(const char* path, int* destroyed) : FileStream(path, true), destroyed_(destroyed) {}
  ~CountedStream() override { ++*destroyed_; }

 private:
  int* destroyed_;
};

HRESULT WriteText(FileStream& stream, const std::string& text, ULONG* written) {
  return stream.Write(text.data(), static_cast<ULONG>(text.size()), written);
}

}  // namespace

TEST(FileStream, OpensForWritingByCreatingOrEmptyingTheFile) {
  TempFolder folder;
  const std::string existing = folder.Write("existing.xml", "old contents");
  const std::string fresh = folder.File("fresh.xml");
  for (const std::string& path : {existing, fresh}) {
    SCOPED_TRACE(path);
    {
      FileStream stream(path.c_str(), true);
      ASSERT_TRUE(stream.IsOpen());
      ULONG written = 99;
      EXPECT_EQ(WriteText(stream, "<a/>", &written), S_OK);
      EXPECT_EQ(written, 4u);
      EXPECT_FALSE(stream.failed());
    }
    EXPECT_EQ(ReadBytes(path), "<a/>");
  }
}

TEST(FileStream, DoesNotOpenWhatCannotBeOpened) {
  TempFolder folder;
  const std::string subfolder = folder.File("sub");
  std::filesystem::create_directory(subfolder);
  struct Case {
    std::string path;
    bool forWriting;
  };
  const Case cases[] = {{folder.File("missing.xml"), false},
                        {folder.File("no-folder/a.xml"), true},
                        {folder.File("no-folder/a.xml"), false},
                        {subfolder, true},
                        {subfolder, false},
                        {"", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + (c.forWriting ? " for writing" : " for reading"));
    FileStream stream(c.path.c_str(), c.forWriting);
    EXPECT_FALSE(stream.IsOpen());
    ULONG written = 99;
    EXPECT_TRUE(FAILED(WriteText(stream, "x", &written)));
    EXPECT_EQ(written, 0u);
  }
  FileStream stream(nullptr, true);
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(folder.File("missing.xml")));
}

TEST(FileStream, AnswersIUnknownAndIStreamOnly) {
  TempFolder folder;
  FileStream stream(folder.File("a.xml").c_str(), true);
  for (const IID* iid : {&IID_IUnknown, &IID_IStream}) {
    void* answer = nullptr;
    ASSERT_EQ(stream.QueryInterface(*iid, &answer), S_OK);
    EXPECT_EQ(answer, static_cast<IStream*>(&stream));
    EXPECT_EQ(stream.Release(), 1u);
  }
  for (const IID* iid : {&IID_ISequentialStream, &IID_IDispatch}) {
    void* answer = &stream;
    EXPECT_EQ(stream.QueryInterface(*iid, &answer), static_cast<HRESULT>(0x80004002UL));
    EXPECT_EQ(answer, nullptr);
  }
  EXPECT_EQ(ReferenceCount(&stream), 1u);
}

TEST(FileStream, DestroysItselfWhenTheLastReferenceGoes) {
  TempFolder folder;
  int destroyed = 0;
  auto* stream = new CountedStream(folder.File("a.xml").c_str(), &destroyed);
  EXPECT_EQ(stream->AddRef(), 2u);
  EXPECT_EQ(stream->Release(), 1u);
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(stream->Release(), 0u);
  EXPECT_EQ(destroyed, 1);
}

TEST(FileStream, WriteOfNothingNeverReachesTheFile) {
  // Opened for reading, any real write would fail: so a zero-byte write that succeeds made no call.
  TempFolder folder;
  const std::string path = folder.Write("a.xml", "contents");
  FileStream stream(path.c_str(), false);
  ASSERT_TRUE(stream.IsOpen());
  ULONG written = 99;
  EXPECT_EQ(stream.Write("ignored", 0, &written), S_OK);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(stream.Write(nullptr, 0, nullptr), S_OK);
  EXPECT_FALSE(stream.failed());

  EXPECT_TRUE(FAILED(WriteText(stream, "more", &written)));
  EXPECT_EQ(written, 0u);
  EXPECT_TRUE(stream.failed());
  EXPECT_FALSE(stream.Close());
  EXPECT_EQ(ReadBytes(path), "contents");
}

TEST(FileStream, ReadsTheFile) {
  TempFolder folder;
  const std::string path = folder.Write("a.xml", "0123456789");
  FileStream stream(path.c_str(), false);
  ASSERT_TRUE(stream.IsOpen());
  char buffer[8] = {};
  ULONG read = 0;
  EXPECT_EQ(stream.Read(buffer, 6, &read), S_OK);
  EXPECT_EQ(std::string(buffer, read), "012345");
  EXPECT_EQ(stream.Read(buffer, 8, &read), S_OK);
  EXPECT_EQ(std::string(buffer, read), "6789");
  EXPECT_EQ(stream.Read(buffer, 8, &read), S_OK);
  EXPECT_EQ(read, 0u);
  ULARGE_INTEGER position;
  LARGE_INTEGER nowhere;
  nowhere.QuadPart = 0;
  EXPECT_EQ(stream.Seek(nowhere, STREAM_SEEK_CUR, &position), S_OK);
  EXPECT_EQ(position.QuadPart, 10u);
}

TEST(FileStream, StatDescribesTheFile) {
  TempFolder folder;
  const std::string path = folder.File("a.xml");
  FileStream stream(path.c_str(), true);
  ULONG written = 0;
  ASSERT_EQ(WriteText(stream, "twelve bytes", &written), S_OK);

  STATSTG stat;
  ASSERT_EQ(stream.Stat(&stat, STATFLAG_DEFAULT), S_OK);
  EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
  EXPECT_EQ(stat.cbSize.QuadPart, 12u);
  EXPECT_EQ(stat.grfMode, static_cast<DWORD>(STGM_WRITE));
  ASSERT_NE(stat.pwcsName, nullptr);
  EXPECT_EQ(std::basic_string<WCHAR>(stat.pwcsName),
            std::basic_string<WCHAR>(path.begin(), path.end()));
  CoTaskMemFree(stat.pwcsName);

  ASSERT_EQ(stream.Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.pwcsName, nullptr);
  EXPECT_EQ(stat.cbSize.QuadPart, 12u);

  EXPECT_EQ(stream.Stat(nullptr, STATFLAG_NONAME), STG_E_INVALIDPOINTER);
  EXPECT_EQ(stream.Stat(&stat, 0x40), STG_E_INVALIDFLAG);
  ASSERT_TRUE(stream.Close());
  EXPECT_TRUE(FAILED(stream.Stat(&stat, STATFLAG_NONAME))) << "closed: nothing to describe";
}

TEST(FileStream, CloneIsNotOffered) {
  TempFolder folder;
  FileStream stream(folder.File("a.xml").c_str(), true);
  IStream* copy = &stream;
  EXPECT_EQ(stream.Clone(&copy), E_NOTIMPL);
  EXPECT_EQ(copy, nullptr);
  EXPECT_EQ(stream.Clone(nullptr), E_NOTIMPL);
}

TEST(FileStream, OtherOperationsDoNothingAndSaySo) {
  TempFolder folder;
  const std::string path = folder.File("a.xml");
  FileStream stream(path.c_str(), true);
  ULONG written = 0;
  ASSERT_EQ(WriteText(stream, "abc", &written), S_OK);
  ULARGE_INTEGER size;
  size.QuadPart = 100;
  LARGE_INTEGER back;
  back.QuadPart = -2;
  ULARGE_INTEGER position;
  position.QuadPart = 7;
  EXPECT_EQ(stream.Seek(back, STREAM_SEEK_CUR, &position), S_OK);
  EXPECT_EQ(position.QuadPart, 3u) << "the stream does not move";
  EXPECT_EQ(stream.Seek(back, STREAM_SEEK_SET, nullptr), S_OK);
  EXPECT_EQ(stream.SetSize(size), S_OK);
  ULARGE_INTEGER copiedIn, copiedOut;
  copiedIn.QuadPart = copiedOut.QuadPart = 5;
  EXPECT_EQ(stream.CopyTo(&stream, size, &copiedIn, &copiedOut), S_OK);
  EXPECT_EQ(copiedIn.QuadPart, 0u);
  EXPECT_EQ(copiedOut.QuadPart, 0u);
  EXPECT_EQ(stream.Commit(0), S_OK);
  EXPECT_EQ(stream.Revert(), S_OK);
  EXPECT_EQ(stream.LockRegion(size, size, 0), S_OK);
  EXPECT_EQ(stream.UnlockRegion(size, size, 0), S_OK);
  ASSERT_EQ(WriteText(stream, "def", &written), S_OK);
  ASSERT_TRUE(stream.Close());
  EXPECT_EQ(ReadBytes(path), "abcdef");
}

TEST(FileStream, ClosedStreamTakesNoMoreWrites) {
  TempFolder folder;
  const std::string path = folder.File("a.xml");
  FileStream stream(path.c_str(), true);
  ULONG written = 0;
  ASSERT_EQ(WriteText(stream, "abc", &written), S_OK);
  EXPECT_TRUE(stream.Close());
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_TRUE(FAILED(WriteText(stream, "def", &written)));
  EXPECT_EQ(ReadBytes(path), "abc");
}

TEST(FileStream, FullDiskIsReportedAndRemembered) {
#ifdef COMPAT_WRITE_FAILURE_CONTROL
  TempFolder folder;
  FileStream stream(folder.File("a.xml").c_str(), true);
  compat::FailWritesAfter(4);
  ULONG written = 0;
  const HRESULT result = WriteText(stream, "0123456789", &written);
  compat::ClearWriteFailure();
  EXPECT_EQ(result, STG_E_MEDIUMFULL);
  EXPECT_EQ(written, 4u);
  EXPECT_TRUE(stream.failed());
  EXPECT_EQ(WriteText(stream, "more", &written), S_OK) << "room again";
  EXPECT_TRUE(stream.failed()) << "the document is still incomplete";
  EXPECT_FALSE(stream.Close());
#else
  XML_TEST_SKIP("a full disk cannot be arranged for a test here");
#endif
}
