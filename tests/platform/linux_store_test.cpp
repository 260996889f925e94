// What only the Linux stand-ins have: where the stores keep their files, the files' form, and
// that a write which cannot finish leaves the old file in place. The Windows build has none of
// these tests: the system keeps its files its own way.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "owned_key.h"
#include "test_folder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>

namespace {

// Sets an environment variable for the life of the object, then puts back what was there.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      hadOld_ = true;
      old_ = old;
    }
    setenv(name, value.c_str(), 1);
  }
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;
  ~EnvironmentOverride() {
    if (hadOld_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool hadOld_ = false;
  std::string old_;
};

// Lowers the largest file size the process may write, so that any longer write fails with EFBIG
// (also for root, unlike a read-only folder), and ignores the signal that would end the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = old_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_;
};

std::vector<std::string> Listing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(LinuxStore, ProfileNameWithoutFolderLivesInTheWindowsFolder) {
  TestFolder windows;
  EnvironmentOverride override("WIN32_COMPAT_WINDOWS_DIR", windows.File("win"));
  const std::string name = "bare-name-test.ini";
  ASSERT_FALSE(FileExists(name));

  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "v", name.c_str()));
  EXPECT_EQ(ReadBytes(windows.File("win/" + name)), "[s]\r\nk=v\r\n");
  EXPECT_FALSE(FileExists(name)) << "written to the current folder";

  char buffer[8];
  GetPrivateProfileStringA("s", "k", "", buffer, sizeof buffer, name.c_str());
  EXPECT_STREQ(buffer, "v");
}

TEST(LinuxStore, BackslashesSeparateFolders) {
  TestFolder folder;
  std::filesystem::create_directory(folder.path() / "sub");
  std::string windowsStyle = folder.File("sub") + "\\file.ini";
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "v", windowsStyle.c_str()));
  EXPECT_EQ(ReadBytes(folder.File("sub/file.ini")), "[s]\r\nk=v\r\n");
}

TEST(LinuxStore, FailedProfileWriteLeavesTheOldFile) {
  TestFolder folder;
  const std::string file = folder.File("kept.ini");
  const std::string original = "; settings\r\n[s]\r\nkey=old\r\n";
  WriteBytes(file, original);
  {
    FileSizeLimit limit(64);
    SetLastError(0);
    EXPECT_FALSE(
        WritePrivateProfileStringA("s", "key", std::string(100, 'n').c_str(), file.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  }
  EXPECT_EQ(ReadBytes(file), original);
  EXPECT_EQ(Listing(folder.path()), std::vector<std::string>{"kept.ini"})
      << "a temporary file was left behind";
  EXPECT_TRUE(WritePrivateProfileStringA("s", "key", "new", file.c_str()));
  EXPECT_EQ(ReadBytes(file), "; settings\r\n[s]\r\nkey=new\r\n");
}

TEST(LinuxStore, RegistryKeysAndValuesAreFilesUnderTheChosenFolder) {
  TestFolder store;
  EnvironmentOverride override("WIN32_COMPAT_REGISTRY_DIR", store.path().string());
  OwnedKey key;
  ASSERT_EQ(CreateKeyInto(HKEY_CURRENT_USER, "Software\\Maker\\Pre/set %1", KEY_WRITE, &key),
            ERROR_SUCCESS);
  const DWORD dryOut = 75;
  ASSERT_EQ(RegSetValueExA(key.get(), "DryOut", 0, REG_NONE, reinterpret_cast<const BYTE*>(&dryOut),
                           sizeof dryOut),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("a b"), 4),
            ERROR_SUCCESS);
  const std::string keyFolder = store.File("HKEY_CURRENT_USER/Software/Maker/Pre%2Fset%20%251");
  EXPECT_EQ(ReadBytes(keyFolder + "/.values"), "DryOut 0 4b000000\n 1 61206200\n");
}

TEST(LinuxStore, FailedRegistryWriteKeepsTheOldValues) {
  TestFolder store;
  EnvironmentOverride override("WIN32_COMPAT_REGISTRY_DIR", store.path().string());
  OwnedKey key;
  ASSERT_EQ(CreateKeyInto(HKEY_CURRENT_USER, "Software\\Maker", KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  const DWORD kept = 18;
  ASSERT_EQ(RegSetValueExA(key.get(), "DelL", 0, REG_NONE, reinterpret_cast<const BYTE*>(&kept),
                           sizeof kept),
            ERROR_SUCCESS);
  const std::string valuesFile = store.File("HKEY_CURRENT_USER/Software/Maker/.values");
  const std::string before = ReadBytes(valuesFile);
  {
    FileSizeLimit limit(32);
    const std::string large(100, 'x');
    EXPECT_EQ(RegSetValueExA(key.get(), "Large", 0, REG_BINARY,
                             reinterpret_cast<const BYTE*>(large.data()),
                             static_cast<DWORD>(large.size())),
              ERROR_DISK_FULL);
  }
  EXPECT_EQ(ReadBytes(valuesFile), before);
  EXPECT_EQ(Listing(store.path() / "HKEY_CURRENT_USER" / "Software" / "Maker"),
            std::vector<std::string>{".values"});
  DWORD read = 0;
  DWORD size = sizeof read;
  EXPECT_EQ(
      RegQueryValueExA(key.get(), "DelL", nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size),
      ERROR_SUCCESS);
  EXPECT_EQ(read, kept);
  EXPECT_EQ(RegQueryValueExA(key.get(), "Large", nullptr, nullptr, nullptr, &size),
            ERROR_FILE_NOT_FOUND);
}

}  // namespace

#endif  // _WIN32
