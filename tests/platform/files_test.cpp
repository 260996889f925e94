// Files through kernel handles: how CreateFileA's dispositions meet existing and missing files,
// and what reads, writes, renames and deletes answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "test_folder.h"

namespace {

HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
  return CreateFileA(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Closes the handle when the test leaves, so that the folder can be removed on every platform.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

}  // namespace

TEST(Files, DispositionsMeetExistingAndMissingFiles) {
  TestFolder folder;
  struct Case {
    const char* name;
    DWORD disposition;
    bool existing;
    bool opens;
    DWORD error;  // the last error afterwards
    const char* contentsAfter;
  };
  const Case cases[] = {
      {"create new, missing", CREATE_NEW, false, true, 0, ""},
      {"create new, existing", CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {"create always, missing", CREATE_ALWAYS, false, true, 0, ""},
      {"create always, existing", CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {"open existing, missing", OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {"open existing, existing", OPEN_EXISTING, true, true, 0, "old"},
      {"open always, missing", OPEN_ALWAYS, false, true, 0, ""},
      {"open always, existing", OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {"truncate existing, missing", TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND,
       nullptr},
      {"truncate existing, existing", TRUNCATE_EXISTING, true, true, 0, ""},
  };
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.File("file" + std::to_string(index++));
    if (c.existing) WriteBytes(path, "old");
    SetLastError(0xBEAF);
    {
      Handle file(Open(path, GENERIC_READ | GENERIC_WRITE, c.disposition));
      EXPECT_EQ(file.valid(), c.opens);
      EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(FileExists(path), c.contentsAfter != nullptr);
    if (c.contentsAfter != nullptr) {
      EXPECT_EQ(ReadBytes(path), c.contentsAfter);
    }
  }
}

TEST(Files, FoldersAndMissingFoldersCannotBeOpenedAsFiles) {
  TestFolder folder;
  const std::string sub = folder.File("sub");
  std::filesystem::create_directory(sub);
  struct Case {
    std::string path;
    DWORD access;
    DWORD disposition;
    DWORD error;
  };
  const Case cases[] = {
      {sub, GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {sub, GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
      {folder.File("missing/file"), GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {folder.File("missing/file"), GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    SetLastError(0);
    Handle file(Open(c.path, c.access, c.disposition));
    EXPECT_FALSE(file.valid());
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST(Files, ReadsAndWritesKeepToTheAccessAsked) {
  TestFolder folder;
  const std::string path = folder.File("data");
  {
    Handle file(Open(path, GENERIC_WRITE, CREATE_ALWAYS));
    ASSERT_TRUE(file.valid());
    DWORD written = 99;
    EXPECT_TRUE(WriteFile(file.get(), "0123456789", 10, &written, nullptr));
    EXPECT_EQ(written, 10u);
    EXPECT_TRUE(WriteFile(file.get(), "", 0, &written, nullptr));
    EXPECT_EQ(written, 0u);
    char buffer[4];
    DWORD read = 99;
    SetLastError(0);
    EXPECT_FALSE(ReadFile(file.get(), buffer, 4, &read, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(FlushFileBuffers(file.get()));
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file.get(), &high), 10u);
    EXPECT_EQ(high, 0u);
  }
  Handle file(Open(path, GENERIC_READ, OPEN_EXISTING));
  ASSERT_TRUE(file.valid());
  char buffer[16];
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(file.get(), buffer, 6, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "012345");
  EXPECT_TRUE(ReadFile(file.get(), buffer, 16, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "6789");
  EXPECT_TRUE(ReadFile(file.get(), buffer, 16, &read, nullptr)) << "the end is no failure";
  EXPECT_EQ(read, 0u);
  DWORD written = 99;
  SetLastError(0);
  EXPECT_FALSE(WriteFile(file.get(), "x", 1, &written, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(written, 0u);
}

TEST(Files, HandleClosesOnce) {
  TestFolder folder;
  HANDLE file = Open(folder.File("a"), GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(file));
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(file));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  DWORD written = 0;
  EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr));
}

TEST(Files, MoveReplacesOnlyWhenAsked) {
  TestFolder folder;
  const std::string from = folder.File("from");
  const std::string to = folder.File("to");
  WriteBytes(from, "new");
  WriteBytes(to, "old");
  SetLastError(0);
  EXPECT_FALSE(MoveFileExA(from.c_str(), to.c_str(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(ReadBytes(to), "old");
  EXPECT_TRUE(
      MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(ReadBytes(to), "new");
  EXPECT_FALSE(FileExists(from));
  SetLastError(0);
  EXPECT_FALSE(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(MoveFileExA(to.c_str(), folder.File("fresh").c_str(), 0));
  EXPECT_EQ(ReadBytes(folder.File("fresh")), "new");
}

TEST(Files, DeleteRemovesFilesOnly) {
  TestFolder folder;
  const std::string path = folder.File("a");
  WriteBytes(path, "x");
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  EXPECT_FALSE(FileExists(path));
  SetLastError(0);
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  const std::string sub = folder.File("sub");
  std::filesystem::create_directory(sub);
  SetLastError(0);
  EXPECT_FALSE(DeleteFileA(sub.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(std::filesystem::is_directory(sub));
}

TEST(Files, BackslashSeparatesFolders) {
  TestFolder folder;
  std::filesystem::create_directory(folder.File("sub"));
  std::string path = folder.File("sub") + "\\file";
  {
    Handle file(Open(path, GENERIC_WRITE, CREATE_ALWAYS));
    ASSERT_TRUE(file.valid());
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), "inside", 6, &written, nullptr));
  }
  EXPECT_EQ(ReadBytes((folder.path() / "sub" / "file").string()), "inside");
  std::replace(path.begin(), path.end(), '/', '\\');
  EXPECT_TRUE(DeleteFileA(path.c_str()));
}
