// The private-profile functions: each call reads its file afresh; writes go through
// ReplaceFileContents and so never leave a half-written file.
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ascii_text.h"
#include "call_guard.h"
#include "file_replace.h"
#include "native_path.h"
#include "profile_document.h"
#include "system_error_code.h"

using compat::ProfileDocument;

namespace {

// The document of `path` for a lookup: a file that is missing, unreadable or UTF-16 text reads
// as an empty one, so that every lookup gives its default.
ProfileDocument LoadForLookup(const char* fileName) {
  std::string text;
  if (compat::ReadWholeFile(compat::ProfileFilePath(fileName), &text) != 0 ||
      compat::IsUtf16Text(text)) {
    return ProfileDocument();
  }
  return ProfileDocument::Parse(text);
}

// Copies `text` cut to `size` - 1 characters and terminated; answers the characters copied.
DWORD CopyTerminated(std::string_view text, LPSTR buffer, DWORD size) {
  size_t count = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return static_cast<DWORD>(count);
}

// Copies `names`, each terminated, with one more terminator at the end. A list that does not fit
// is cut at `size` - 2 characters and ends in two terminators.
DWORD CopyNameList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  std::string list;
  for (const std::string& name : names) {
    list += name;
    list += '\0';
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::string_view WithoutMatchingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view DefaultText(const char* defaultValue) {
  std::string_view text = defaultValue != nullptr ? defaultValue : "";
  while (!text.empty() && text.back() == ' ') {
    text.remove_suffix(1);
  }
  return text;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Read, edit, write back: the one path of every write. `edit` answers whether it changed the
// document. As on Windows, a write that changes nothing still leaves a file behind, an empty one
// when there was none.
template <typename Edit>
BOOL EditProfile(const char* fileName, Edit edit) {
  if (fileName != nullptr && fileName[0] == '\0') {
    return Fail(ERROR_ACCESS_DENIED);
  }
  const std::string path = compat::ProfileFilePath(fileName);
  const std::string folder = compat::FolderOf(path);
  if (compat::IsInWindowsFolder(fileName)) {
    // The Windows folder exists on Windows; here it comes into being with its first file.
    if (int error = compat::MakeFolders(folder, 0777)) {
      return Fail(compat::Win32ErrorFromErrno(error));
    }
  }
  compat::FolderLock turn(folder);

  std::string original;
  int readError = compat::ReadWholeFile(path, &original);
  const bool exists = readError == 0;
  if (!exists && readError != ENOENT) {
    return Fail(compat::Win32ErrorFromErrno(readError));
  }
  if (exists && compat::IsUtf16Text(original)) {
    return Fail(ERROR_NOT_SUPPORTED);
  }

  ProfileDocument document = ProfileDocument::Parse(original);
  if (!edit(document) && exists) {
    return TRUE;
  }
  if (int error = compat::ReplaceFileContents(path, document.Serialize(), 0666)) {
    return Fail(compat::Win32ErrorFromErrno(error));
  }
  return TRUE;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR fileName) {
  if (buffer == nullptr || size == 0) {
    return 0;
  }
  return compat::GuardedCall<DWORD>(0, [&]() -> DWORD {
    ProfileDocument document = LoadForLookup(fileName);
    if (section == nullptr) {
      return CopyNameList(document.SectionNames(), buffer, size);
    }
    if (key == nullptr) {
      std::vector<std::string> keys;
      if (const compat::ProfileSection* found = document.FindSection(section)) {
        for (const compat::ProfileLine& line : found->lines) {
          if (line.isKey) {
            keys.push_back(line.name);
          }
        }
      }
      return CopyNameList(keys, buffer, size);
    }
    if (const std::string* value = document.FindValue(section, key)) {
      return CopyTerminated(WithoutMatchingQuotes(*value), buffer, size);
    }
    return CopyTerminated(DefaultText(defaultValue), buffer, size);
  });
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
  // The value is read as a string into a 30-byte buffer, which is where the 29-character limit
  // comes from.
  char text[30];
  if (GetPrivateProfileStringA(section, key, "", text, sizeof text, fileName) == 0) {
    return static_cast<UINT>(defaultValue);
  }
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p != '\0' && *p <= ' ') {
    ++p;
  }
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  UINT value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10u + static_cast<UINT>(*p - '0');
  }
  return negative ? 0u - value : value;
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (section == nullptr) {
    if (key == nullptr && value == nullptr) {
      return TRUE;
    }
    return Fail(ERROR_FILE_NOT_FOUND);
  }
  return compat::GuardedCall<BOOL>(FALSE, [&]() -> BOOL {
    return EditProfile(fileName, [&](ProfileDocument& document) {
      if (key == nullptr) {
        return document.RemoveSection(section);
      }
      if (value == nullptr) {
        return document.RemoveKey(section, key);
      }
      document.SetValue(section, key, value);
      return true;
    });
  });
}

BOOL WritePrivateProfileStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size,
                                LPCSTR fileName) {
  if (data == nullptr) {
    return WritePrivateProfileStringA(section, key, nullptr, fileName);
  }
  return compat::GuardedCall<BOOL>(FALSE, [&]() -> BOOL {
    static const char kDigits[] = "0123456789ABCDEF";
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    std::string text;
    text.reserve(2 * static_cast<size_t>(size) + 2);
    unsigned sum = 0;
    auto append = [&](unsigned char byte) {
      text += kDigits[byte >> 4];
      text += kDigits[byte & 0x0F];
    };
    for (UINT i = 0; i < size; ++i) {
      append(bytes[i]);
      sum += bytes[i];
    }
    append(static_cast<unsigned char>(sum & 0xFF));
    return WritePrivateProfileStringA(section, key, text.c_str(), fileName);
  });
}

BOOL GetPrivateProfileStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size, LPCSTR fileName) {
  if (section == nullptr || key == nullptr || data == nullptr) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  return compat::GuardedCall<BOOL>(FALSE, [&]() -> BOOL {
    ProfileDocument document = LoadForLookup(fileName);
    const std::string* stored = document.FindValue(section, key);
    std::string_view text = stored != nullptr ? WithoutMatchingQuotes(*stored) : "";
    if (text.size() != 2 * static_cast<unsigned long long>(size) + 2) {
      return Fail(ERROR_BAD_LENGTH);
    }
    std::vector<unsigned char> bytes(static_cast<size_t>(size) + 1);
    for (size_t i = 0; i < bytes.size(); ++i) {
      int high = compat::HexDigitValue(text[2 * i]);
      int low = compat::HexDigitValue(text[2 * i + 1]);
      if (high < 0 || low < 0) {
        return Fail(ERROR_INVALID_DATA);
      }
      bytes[i] = static_cast<unsigned char>(high * 16 + low);
    }
    unsigned sum = 0;
    for (UINT i = 0; i < size; ++i) {
      sum += bytes[i];
    }
    if ((sum & 0xFF) != bytes[size]) {
      return Fail(ERROR_INVALID_DATA);
    }
    std::memcpy(data, bytes.data(), size);
    return TRUE;
  });
}
