// One INI file as the private-profile functions see it: sections of lines in file order.
//
// Reading: lines end at CR, LF or CRLF and are trimmed of white space; empty lines are dropped.
// "[name]" opens a section named by what stands between "[" and the last "]", trimmed. A line
// with "=" is a key line: the key is the text before the first "=", trimmed, the value the rest
// without its leading white space. Any other line (a ";" comment, say) is kept in place but is
// never found as a key. Lines before the first section header belong to no section.
//
// Writing produces "[name]\r\n" and "key=value\r\n" lines, other lines as read, with no blank
// lines: the text Windows writes, so a file moves between the platforms unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace compat {

struct ProfileLine {
  std::string name;  // the key of a key line; the whole trimmed text of any other line
  std::string value;
  bool isKey = false;
};

struct ProfileSection {
  std::string name;
  bool hasHeader = true;  // false only for the lines before the first header
  std::vector<ProfileLine> lines;
};

class ProfileDocument {
 public:
  static ProfileDocument Parse(std::string_view text);
  std::string Serialize() const;

  // Lookups ignore ASCII letter case and the white space around the names given; the first
  // matching section, and in it the first matching key, wins.
  const ProfileSection* FindSection(std::string_view section) const;
  const std::string* FindValue(std::string_view section, std::string_view key) const;
  std::vector<std::string> SectionNames() const;

  // Replaces the value of an existing key in place, or appends the key at the end of its
  // section, or appends a new section at the end of the document.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);
  // Remove every matching key of the section that lookups find, or every matching section.
  // Both answer whether anything was removed.
  bool RemoveKey(std::string_view section, std::string_view key);
  bool RemoveSection(std::string_view section);

 private:
  ProfileSection* FindSectionForEdit(std::string_view section);

  std::string byteOrderMark_;  // a UTF-8 byte order mark the file started with, written back
  std::vector<ProfileSection> sections_;
};

// True for text that starts with a UTF-16 byte order mark. Such files are not read (a lookup
// answers the default) and not written (a write fails): treating them as bytes would corrupt them.
bool IsUtf16Text(std::string_view text);

}  // namespace compat
