// Opening, creating, deleting and closing registry keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "owned_key.h"
#include "registry_test_key.h"
#include "wine_marks.h"

namespace {

using RegistryKeys = RegistryTest;

TEST_F(RegistryKeys, CreateMakesTheWholePathAndTellsNewFromExisting) {
  OwnedKey key;
  DWORD disposition = 0;
  ASSERT_EQ(CreateKeyInto(main(), "a\\b\\c", KEY_ALL_ACCESS, &key, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));

  OwnedKey again;
  ASSERT_EQ(CreateKeyInto(main(), "A\\B\\C", KEY_ALL_ACCESS, &again, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));

  for (const char* path : {"a", "a\\b", "a\\b\\c", "A\\b\\C"}) {
    SCOPED_TRACE(path);
    OwnedKey opened;
    EXPECT_EQ(OpenKeyInto(main(), path, KEY_READ, &opened), ERROR_SUCCESS);
    EXPECT_NE(opened, nullptr);
  }
  OwnedKey fromRoot;
  const std::string upper =
      "SOFTWARE\\win32platformtests\\" +
      std::string(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
      "." + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\A\\B\\c";
  EXPECT_EQ(OpenKeyInto(HKEY_CURRENT_USER, upper.c_str(), KEY_READ, &fromRoot), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, OpeningAMissingKeyFailsAndCreatesNothing) {
  HKEY key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
  EXPECT_EQ(RegOpenKeyExA(main(), "missing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyExA(main(), "missing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExA(main(), "missing\\deeper", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeys, LeadingBackslashFailsTrailingOnesDoNot) {
  OwnedKey made;
  ASSERT_EQ(CreateKeyInto(main(), "sub", KEY_ALL_ACCESS, &made), ERROR_SUCCESS);

  const struct {
    const char* path;
    LSTATUS status;
  } cases[] = {
      {"\\sub", ERROR_BAD_PATHNAME},
      {"\\", ERROR_BAD_PATHNAME},
      {"sub\\", ERROR_SUCCESS},
      {"sub\\\\", ERROR_SUCCESS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    OwnedKey opened;
    EXPECT_EQ(OpenKeyInto(main(), c.path, KEY_READ, &opened), c.status);
    OwnedKey created;
    EXPECT_EQ(CreateKeyInto(main(), c.path, KEY_READ, &created), c.status);
  }
  OwnedKey leading;
  EXPECT_EQ(CreateKeyInto(main(), "\\other", KEY_ALL_ACCESS, &leading), ERROR_BAD_PATHNAME);
  EXPECT_EQ(OpenKeyInto(main(), "other", KEY_READ, &leading), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeys, EmptySubkeyOpensTheKeyAgain) {
  // A predefined root answers itself.
  HKEY root = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, nullptr, 0, KEY_QUERY_VALUE, &root), ERROR_SUCCESS);
  EXPECT_EQ(root, HKEY_CLASSES_ROOT);
  root = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "", 0, KEY_QUERY_VALUE, &root), ERROR_SUCCESS);
  EXPECT_EQ(root, HKEY_CLASSES_ROOT);

  // Any other key answers a new handle to the same key.

  const DWORD value = 7;
  ASSERT_EQ(RegSetValueExA(main(), "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_SUCCESS);
  for (const char* empty : {static_cast<const char*>(nullptr), ""}) {
    OwnedKey same;
    ASSERT_EQ(OpenKeyInto(main(), empty, KEY_READ, &same), ERROR_SUCCESS);
    EXPECT_NE(same.get(), main());
    DWORD read = 0;
    DWORD size = sizeof read;
    EXPECT_EQ(
        RegQueryValueExA(same.get(), "v", nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(read, value);
  }
}

TEST_F(RegistryKeys, ParentAccessDoesNotMatterForSubkeys) {
  OwnedKey notifyOnly;
  ASSERT_EQ(CreateKeyInto(main(), "parent", KEY_NOTIFY, &notifyOnly), ERROR_SUCCESS);
  OwnedKey child;
  EXPECT_EQ(CreateKeyInto(notifyOnly.get(), "child", KEY_SET_VALUE, &child), ERROR_SUCCESS);
  OwnedKey reopened;
  EXPECT_EQ(OpenKeyInto(notifyOnly.get(), "child", KEY_READ, &reopened), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, DeleteRemovesOnlyKeysWithoutSubkeys) {
  OwnedKey leaf;
  ASSERT_EQ(CreateKeyInto(main(), "branch\\leaf", KEY_ALL_ACCESS, &leaf), ERROR_SUCCESS);
  const DWORD value = 1;
  ASSERT_EQ(RegSetValueExA(leaf.get(), "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_SUCCESS);
  leaf.reset();

  EXPECT_EQ(RegDeleteKeyA(main(), nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegDeleteKeyA(main(), "branch"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(main(), "branch\\missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(main(), "BRANCH\\Leaf"), ERROR_SUCCESS);
  OwnedKey gone;
  EXPECT_EQ(OpenKeyInto(main(), "branch\\leaf", KEY_READ, &gone), ERROR_FILE_NOT_FOUND);

  // "" deletes the key the handle stands for.
  OwnedKey branch;
  ASSERT_EQ(OpenKeyInto(main(), "branch", KEY_ALL_ACCESS, &branch), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(branch.get(), ""), ERROR_SUCCESS);
  EXPECT_EQ(OpenKeyInto(main(), "branch", KEY_READ, &gone), ERROR_FILE_NOT_FOUND);

  // A handle to a deleted key reaches nothing.
  const DWORD late = 2;
  EXPECT_EQ(RegSetValueExA(branch.get(), "late", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&late),
                           sizeof late),
            ERROR_KEY_DELETED);
  EXPECT_EQ(CreateKeyInto(branch.get(), "below", KEY_ALL_ACCESS, &gone), ERROR_KEY_DELETED);
}

TEST_F(RegistryKeys, DeleteTreeRemovesEverythingBelow) {
  OwnedKey deep;
  ASSERT_EQ(CreateKeyInto(main(), "tree\\a\\b", KEY_ALL_ACCESS, &deep), ERROR_SUCCESS);
  OwnedKey side;
  ASSERT_EQ(CreateKeyInto(main(), "tree\\c", KEY_ALL_ACCESS, &side), ERROR_SUCCESS);
  const DWORD value = 3;
  ASSERT_EQ(RegSetValueExA(deep.get(), "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_SUCCESS);
  deep.reset();
  side.reset();

  EXPECT_EQ(RegDeleteTreeA(main(), "missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteTreeA(main(), "tree"), ERROR_SUCCESS);
  OwnedKey gone;
  EXPECT_EQ(OpenKeyInto(main(), "tree", KEY_READ, &gone), ERROR_FILE_NOT_FOUND);

  // A null subkey empties the key and keeps it.
  ASSERT_EQ(CreateKeyInto(main(), "kept\\child", KEY_ALL_ACCESS, &deep), ERROR_SUCCESS);
  deep.reset();
  ASSERT_EQ(RegSetValueExA(main(), "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteTreeA(main(), nullptr), ERROR_SUCCESS);
  EXPECT_EQ(OpenKeyInto(main(), "kept", KEY_READ, &gone), ERROR_FILE_NOT_FOUND);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(main(), "v", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  OwnedKey stillThere;
  EXPECT_EQ(OpenKeyInto(HKEY_CURRENT_USER, PathOf().c_str(), KEY_READ, &stillThere), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, InvalidHandles) {
  HKEY untouched = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
  EXPECT_EQ(RegOpenKeyExA(nullptr, "x", 0, KEY_READ, &untouched), ERROR_INVALID_HANDLE);
  EXPECT_EQ(untouched, reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)));
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  const DWORD value = 0;
  EXPECT_EQ(RegSetValueExA(nullptr, "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, MissingResultPointerIsRefused) {
  RETURN_UNDER_WINE("Wine writes through the missing pointer and crashes");
  EXPECT_EQ(RegOpenKeyExA(main(), "x", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKeyExA(main(), "x", 0, nullptr, 0, KEY_READ, nullptr, nullptr, nullptr),
            ERROR_BADKEY);
}

}  // namespace
