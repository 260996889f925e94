// Storing and reading registry values: types, sizes, names and access.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "owned_key.h"
#include "registry_test_key.h"
#include "wine_marks.h"

namespace {

using RegistryValues = RegistryTest;

LSTATUS SetBytes(HKEY key, const char* name, DWORD type, const std::string& bytes) {
  return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size()));
}

LSTATUS SetDword(HKEY key, const char* name, DWORD type, DWORD value) {
  return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// Reads a value into a roomy buffer: its status, type and bytes.
struct Read {
  LSTATUS status;
  DWORD type;
  std::string bytes;
};
Read ReadValue(HKEY key, const char* name) {
  char buffer[256];
  DWORD type = 0xdeadbeef;
  DWORD size = sizeof buffer;
  LSTATUS status =
      RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  return {status, type, status == ERROR_SUCCESS ? std::string(buffer, size) : std::string()};
}

TEST_F(RegistryValues, ComeBackWithTheirTypeAndBytes) {
  const struct {
    const char* name;
    DWORD type;
    std::string stored;
    std::string read;
  } cases[] = {
      {"DryOut", REG_NONE, std::string("\x4B\0\0\0", 4), std::string("\x4B\0\0\0", 4)},
      {"AllOnes", REG_NONE, "\xFF\xFF\xFF\xFF", "\xFF\xFF\xFF\xFF"},
      {"Dword", REG_DWORD, std::string("\x12\0\0\0", 4), std::string("\x12\0\0\0", 4)},
      {"Binary", REG_BINARY, std::string("\0\x01\x02", 3), std::string("\0\x01\x02", 3)},
      {"Empty", REG_BINARY, "", ""},
      {"Text", REG_SZ, std::string("text\0", 5), std::string("text\0", 5)},
      {"Unterminated", REG_SZ, "text", std::string("text\0", 5)},  // gets its terminator
      {"Inner", REG_SZ, std::string("a\0b\0", 4), std::string("a\0b\0", 4)},
      {"Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5), std::string("a\0b\0\0", 5)},
      {"Space in name", REG_QWORD, "12345678", "12345678"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(SetBytes(main(), c.name, c.type, c.stored), ERROR_SUCCESS) << c.name;
  }
  // Read back through a second handle: nothing is held in the first one.
  OwnedKey reader;
  ASSERT_EQ(OpenKeyInto(HKEY_CURRENT_USER, PathOf().c_str(), KEY_READ, &reader), ERROR_SUCCESS);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Read read = ReadValue(reader.get(), c.name);
    EXPECT_EQ(read.status, ERROR_SUCCESS);
    EXPECT_EQ(read.type, c.type);
    EXPECT_EQ(read.bytes, c.read);
  }
}

TEST_F(RegistryValues, FourBytesReadAsADwordWhateverTheType) {
  ASSERT_EQ(SetDword(main(), "AsNone", REG_NONE, 55), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(main(), "AsDword", REG_DWORD, 55), ERROR_SUCCESS);
  for (const char* name : {"AsNone", "AsDword"}) {
    SCOPED_TRACE(name);
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(
        RegQueryValueExA(main(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(value, 55u);
    EXPECT_EQ(size, 4u);
  }
}

TEST_F(RegistryValues, NamesIgnoreLetterCase) {
  ASSERT_EQ(SetDword(main(), "DryOut", REG_NONE, 75), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(main(), "DRYOUT", REG_DWORD, 80), ERROR_SUCCESS);  // the same value
  Read read = ReadValue(main(), "dryout");
  EXPECT_EQ(read.status, ERROR_SUCCESS);
  EXPECT_EQ(read.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(read.bytes, std::string("\x50\0\0\0", 4));
  EXPECT_EQ(RegDeleteValueA(main(), "dRyOuT"), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue(main(), "DryOut").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, DefaultValueHasTheEmptyName) {
  ASSERT_EQ(SetBytes(main(), nullptr, REG_SZ, std::string("default\0", 8)), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue(main(), "").bytes, std::string("default\0", 8));
  ASSERT_EQ(SetBytes(main(), "", REG_SZ, std::string("again\0", 6)), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue(main(), nullptr).bytes, std::string("again\0", 6));
}

TEST_F(RegistryValues, SmallBufferGetsMoreDataAndStaysUntouched) {
  ASSERT_EQ(SetBytes(main(), "Eight", REG_BINARY, "12345678"), ERROR_SUCCESS);
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  DWORD type = 0;
  DWORD size = 4;
  EXPECT_EQ(
      RegQueryValueExA(main(), "Eight", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
      ERROR_MORE_DATA);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(std::string(buffer, 8), "xxxxxxxx");

  // Without a buffer the call answers the size.
  size = 0;
  EXPECT_EQ(RegQueryValueExA(main(), "Eight", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 8u);

  // A buffer of exactly the size is enough.
  EXPECT_EQ(
      RegQueryValueExA(main(), "Eight", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
      ERROR_SUCCESS);
  EXPECT_EQ(std::string(buffer, 8), "12345678");
}

TEST_F(RegistryValues, MissingValue) {
  DWORD value = 0x11111111;
  DWORD size = sizeof value;
  EXPECT_EQ(
      RegQueryValueExA(main(), "Missing", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
      ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(value, 0x11111111u);

  size = 0xdeadbeef;
  EXPECT_EQ(RegQueryValueExA(main(), "Missing", nullptr, nullptr, nullptr, &size),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(size, 0u);

  EXPECT_EQ(RegDeleteValueA(main(), "Missing"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, AccessIsCheckedPerHandle) {
  ASSERT_EQ(SetDword(main(), "Kept", REG_NONE, 18), ERROR_SUCCESS);

  OwnedKey reader;
  ASSERT_EQ(OpenKeyInto(HKEY_CURRENT_USER, PathOf().c_str(), KEY_READ, &reader), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(reader.get(), "Kept", REG_NONE, 99), ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetDword(reader.get(), "New", REG_NONE, 99), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueA(reader.get(), "Kept"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadValue(main(), "New").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadValue(main(), "Kept").bytes, std::string("\x12\0\0\0", 4));

  OwnedKey writer;
  ASSERT_EQ(CreateKeyInto(HKEY_CURRENT_USER, PathOf().c_str(), KEY_WRITE, &writer), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue(writer.get(), "Kept").status, ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetDword(writer.get(), "Kept", REG_NONE, 19), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue(reader.get(), "Kept").bytes, std::string("\x13\0\0\0", 4));
}

TEST_F(RegistryValues, WritesThroughOneHandleShowThroughAnother) {
  OwnedKey second;
  ASSERT_EQ(OpenKeyInto(HKEY_CURRENT_USER, PathOf().c_str(), KEY_ALL_ACCESS, &second),
            ERROR_SUCCESS);
  for (DWORD round = 1; round <= 3; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(SetDword(main(), "Shared", REG_NONE, round), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(second.get(), "Shared").bytes,
              std::string(reinterpret_cast<const char*>(&round), 4));
    ASSERT_EQ(SetDword(second.get(), "Other", REG_NONE, round * 10), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(main(), "Other").status, ERROR_SUCCESS);
  }
  ASSERT_EQ(RegDeleteValueA(second.get(), "Shared"), ERROR_SUCCESS);
  EXPECT_EQ(ReadValue(main(), "Shared").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadValue(main(), "Other").status, ERROR_SUCCESS);
}

TEST_F(RegistryValues, NullDataWithASizeIsRefused) {
  RETURN_UNDER_WINE("Wine reads through the missing data and crashes");
  EXPECT_EQ(RegSetValueExA(main(), "v", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
  EXPECT_EQ(ReadValue(main(), "v").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, NullDataWithoutSizeStoresAnEmptyValue) {
  EXPECT_EQ(RegSetValueExA(main(), "v", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  Read read = ReadValue(main(), "v");
  EXPECT_EQ(read.status, ERROR_SUCCESS);
  EXPECT_EQ(read.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(read.bytes, "");
}

}  // namespace
