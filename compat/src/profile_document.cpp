#include "profile_document.h"

#include <algorithm>
#include <utility>

#include "ascii_text.h"

namespace compat {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view TrimLeadingSpace(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

bool NameMatches(const std::string& stored, std::string_view wanted) {
  return EqualsIgnoringCase(stored, TrimSpace(wanted));
}

}  // namespace

bool IsUtf16Text(std::string_view text) {
  return text.size() >= 2 &&
         ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'));
}

ProfileDocument ProfileDocument::Parse(std::string_view text) {
  ProfileDocument document;
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    document.byteOrderMark_ = kUtf8ByteOrderMark;
    text.remove_prefix(kUtf8ByteOrderMark.size());
  }
  size_t position = 0;
  while (position < text.size()) {
    size_t end = position;
    while (end < text.size() && !IsLineEnd(text[end])) {
      ++end;
    }
    std::string_view line = TrimSpace(text.substr(position, end - position));
    position = end;
    while (position < text.size() && IsLineEnd(text[position])) {
      ++position;
    }
    if (line.empty()) {
      continue;
    }

    size_t close = line.find_last_of(']');
    if (line.front() == '[' && close != std::string_view::npos && close > 0) {
      ProfileSection section;
      section.name = std::string(TrimSpace(line.substr(1, close - 1)));
      document.sections_.push_back(std::move(section));
      continue;
    }

    if (document.sections_.empty()) {
      ProfileSection preamble;
      preamble.hasHeader = false;
      document.sections_.push_back(std::move(preamble));
    }
    ProfileLine entry;
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      entry.name = std::string(line);
    } else {
      entry.isKey = true;
      entry.name = std::string(TrimSpace(line.substr(0, equals)));
      entry.value = std::string(TrimLeadingSpace(line.substr(equals + 1)));
    }
    document.sections_.back().lines.push_back(std::move(entry));
  }
  return document;
}

std::string ProfileDocument::Serialize() const {
  std::string text = byteOrderMark_;
  for (const ProfileSection& section : sections_) {
    if (section.hasHeader) {
      text += '[';
      text += section.name;
      text += "]\r\n";
    }
    for (const ProfileLine& line : section.lines) {
      text += line.name;
      if (line.isKey) {
        text += '=';
        text += line.value;
      }
      text += "\r\n";
    }
  }
  return text;
}

const ProfileSection* ProfileDocument::FindSection(std::string_view section) const {
  for (const ProfileSection& candidate : sections_) {
    if (candidate.hasHeader && NameMatches(candidate.name, section)) {
      return &candidate;
    }
  }
  return nullptr;
}

ProfileSection* ProfileDocument::FindSectionForEdit(std::string_view section) {
  return const_cast<ProfileSection*>(std::as_const(*this).FindSection(section));
}

const std::string* ProfileDocument::FindValue(std::string_view section,
                                              std::string_view key) const {
  const ProfileSection* found = FindSection(section);
  if (found == nullptr) {
    return nullptr;
  }
  for (const ProfileLine& line : found->lines) {
    if (line.isKey && NameMatches(line.name, key)) {
      return &line.value;
    }
  }
  return nullptr;
}

std::vector<std::string> ProfileDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const ProfileSection& section : sections_) {
    if (section.hasHeader) {
      names.push_back(section.name);
    }
  }
  return names;
}

void ProfileDocument::SetValue(std::string_view section, std::string_view key,
                               std::string_view value) {
  ProfileSection* target = FindSectionForEdit(section);
  if (target == nullptr) {
    ProfileSection added;
    added.name = std::string(TrimSpace(section));
    sections_.push_back(std::move(added));
    target = &sections_.back();
  }
  for (ProfileLine& line : target->lines) {
    if (line.isKey && NameMatches(line.name, key)) {
      line.value = std::string(TrimLeadingSpace(value));
      return;
    }
  }
  ProfileLine added;
  added.isKey = true;
  added.name = std::string(TrimSpace(key));
  added.value = std::string(TrimLeadingSpace(value));
  target->lines.push_back(std::move(added));
}

bool ProfileDocument::RemoveKey(std::string_view section, std::string_view key) {
  ProfileSection* target = FindSectionForEdit(section);
  if (target == nullptr) {
    return false;
  }
  auto removed = std::remove_if(
      target->lines.begin(), target->lines.end(),
      [&](const ProfileLine& line) { return line.isKey && NameMatches(line.name, key); });
  bool any = removed != target->lines.end();
  target->lines.erase(removed, target->lines.end());
  return any;
}

bool ProfileDocument::RemoveSection(std::string_view section) {
  auto removed =
      std::remove_if(sections_.begin(), sections_.end(), [&](const ProfileSection& candidate) {
        return candidate.hasHeader && NameMatches(candidate.name, section);
      });
  bool any = removed != sections_.end();
  sections_.erase(removed, sections_.end());
  return any;
}

}  // namespace compat
