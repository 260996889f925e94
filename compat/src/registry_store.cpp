#include "registry_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "ascii_text.h"
#include "file_replace.h"
#include "unique_resource.h"

namespace compat {
namespace {

constexpr char kValuesFile[] = "/.values";
constexpr size_t kMaxKeyNameLength = 255;

bool NeedsEscape(unsigned char c, bool first) {
  return c <= ' ' || c == 0x7F || c == '%' || c == '/' || (first && c == '.');
}

bool ParseHex(std::string_view hex, std::string* bytes) {
  if (hex.size() % 2 != 0) {
    return false;
  }
  bytes->clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    int high = HexDigitValue(hex[i]);
    int low = HexDigitValue(hex[i + 1]);
    if (high < 0 || low < 0) {
      return false;
    }
    bytes->push_back(static_cast<char>(high * 16 + low));
  }
  return true;
}

bool ParseValueLine(std::string_view line, RegistryValue* value) {
  size_t first = line.find(' ');
  if (first == std::string_view::npos) {
    return false;
  }
  size_t second = line.find(' ', first + 1);
  if (second == std::string_view::npos) {
    return false;
  }
  std::string type(line.substr(first + 1, second - first - 1));
  if (type.empty() || type.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  value->name = UnescapeRegistryName(line.substr(0, first));
  value->type = static_cast<DWORD>(std::strtoul(type.c_str(), nullptr, 10));
  return ParseHex(line.substr(second + 1), &value->data);
}

}  // namespace

std::string EscapeRegistryName(std::string_view name) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string escaped;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (NeedsEscape(c, i == 0)) {
      escaped += '%';
      escaped += kDigits[c >> 4];
      escaped += kDigits[c & 0x0F];
    } else {
      escaped += static_cast<char>(c);
    }
  }
  return escaped;
}

std::string UnescapeRegistryName(std::string_view escaped) {
  std::string name;
  for (size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] == '%' && i + 2 < escaped.size() && HexDigitValue(escaped[i + 1]) >= 0 &&
        HexDigitValue(escaped[i + 2]) >= 0) {
      name += static_cast<char>(HexDigitValue(escaped[i + 1]) * 16 + HexDigitValue(escaped[i + 2]));
      i += 2;
    } else {
      name += escaped[i];
    }
  }
  return name;
}

LSTATUS SplitSubkeyPath(std::string_view path, std::vector<std::string>* names) {
  names->clear();
  if (!path.empty() && path.front() == '\\') {
    return ERROR_BAD_PATHNAME;
  }
  while (!path.empty()) {
    size_t separator = path.find('\\');
    std::string_view name = path.substr(0, separator);
    if (name.size() > kMaxKeyNameLength) {
      return ERROR_INVALID_PARAMETER;
    }
    if (!name.empty()) {
      names->emplace_back(name);
    }
    if (separator == std::string_view::npos) {
      break;
    }
    path.remove_prefix(separator + 1);
  }
  return ERROR_SUCCESS;
}

bool FolderExists(const std::string& folder) {
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> ListSubkeyFolders(const std::string& folder) {
  std::vector<std::string> subkeys;
  UniqueFolderStream stream(::opendir(folder.c_str()));
  if (!stream) {
    return subkeys;
  }
  while (dirent* entry = ::readdir(stream.get())) {
    if (entry->d_name[0] == '.') {
      continue;  // ".", "..", the values file and temporary files; no key folder starts with "."
    }
    std::string path = folder + "/" + entry->d_name;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      subkeys.push_back(std::move(path));
    }
  }
  return subkeys;
}

std::string FindSubkeyFolder(const std::string& parent, std::string_view name) {
  std::string exact = parent + "/" + EscapeRegistryName(name);
  if (FolderExists(exact)) {
    return exact;
  }
  for (std::string& candidate : ListSubkeyFolders(parent)) {
    std::string_view leaf(candidate);
    leaf.remove_prefix(parent.size() + 1);
    if (EqualsIgnoringCase(UnescapeRegistryName(leaf), name)) {
      return std::move(candidate);
    }
  }
  return std::string();
}

int LoadValues(const std::string& folder, std::vector<RegistryValue>* values) {
  values->clear();
  std::string text;
  int error = ReadWholeFile(folder + kValuesFile, &text);
  if (error == ENOENT) {
    return 0;
  }
  if (error != 0) {
    return error;
  }
  size_t position = 0;
  while (position < text.size()) {
    size_t end = text.find('\n', position);
    if (end == std::string::npos) {
      end = text.size();
    }
    RegistryValue value;
    if (ParseValueLine(std::string_view(text).substr(position, end - position), &value)) {
      values->push_back(std::move(value));
    }
    position = end + 1;
  }
  return 0;
}

int SaveValues(const std::string& folder, const std::vector<RegistryValue>& values) {
  static const char kDigits[] = "0123456789abcdef";
  if (values.empty()) {
    if (::unlink((folder + kValuesFile).c_str()) != 0 && errno != ENOENT) {
      return errno;
    }
    return 0;
  }
  std::string text;
  for (const RegistryValue& value : values) {
    text += EscapeRegistryName(value.name);
    text += ' ';
    text += std::to_string(value.type);
    text += ' ';
    for (char byte : value.data) {
      unsigned char c = static_cast<unsigned char>(byte);
      text += kDigits[c >> 4];
      text += kDigits[c & 0x0F];
    }
    text += '\n';
  }
  return ReplaceFileContents(folder + kValuesFile, text, 0600);
}

int RemoveKeyFolder(const std::string& folder) {
  if (::unlink((folder + kValuesFile).c_str()) != 0 && errno != ENOENT) {
    return errno;
  }
  if (::rmdir(folder.c_str()) != 0) {
    return errno;
  }
  return 0;
}

}  // namespace compat
