// The XML form of a configuration document: the reader's hooks with their depth rules, and the
// writer. Root "settings" (depth 0), one element per section (depth 1), one element per entry
// (depth 2) whose text is the value; element names are the encoded section names and keys.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config_document.h"
#include "element_name_codec.h"
#include "xml/xml_file_reader.h"
#include "xml/xml_write_session.h"

namespace {

const char kRootElement[] = "settings";

// A section ready to be written: its element name and its entries' element names and values.
struct EncodedSection {
  std::string element;
  std::vector<std::pair<std::string, const std::string*>> entries;
};

// XML text cannot carry the control characters other than tab, line feed and carriage return: the
// engine would write them as they are and the file would no longer read (every entry from that
// point on would be lost).
bool IsXmlText(const std::string& value) {
  for (const char c : value) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') {
      return false;
    }
  }
  return true;
}

}  // namespace

int32_t ConfigDocument::ReadFile() {
  depth = 0;
  text.clear();
  // No path, or one that the reader's 324-byte buffer would cut: nothing is read, as for a
  // missing file.
  if (path.empty() || path.size() > kMaxReadPathLength) {
    return 1;
  }
  return ReadXmlFile(*this, path.c_str()) == XmlReadResult::kNoReader ? 0 : 1;
}

int ConfigDocument::OnStartElement(const char* name) {
  switch (depth) {
    case 0:
      if (std::string(name) != kRootElement) {
        return 1;
      }
      break;
    case 1:
      // A section name without a decoded form leaves no usable section: its entries are passed
      // over (a decoded name is never empty).
      currentSection = DecodeName(name).value_or(std::string());
      break;
    case 2:
      break;
    default:
      return 1;
  }
  text.clear();
  ++depth;
  return 0;
}

int ConfigDocument::OnEndElement(const char* name) {
  --depth;
  if (depth == 2) {
    const std::optional<std::string> key = DecodeName(name);
    if (key && !currentSection.empty()) {
      SetString(currentSection.c_str(), key->c_str(), text.c_str());
    }
  }
  text.clear();
  return 0;
}

int ConfigDocument::OnCharacters(const char* chunk) {
  text += chunk;
  return 0;
}

int32_t ConfigDocument::WriteFile() const {
  // Every name is encoded and every value checked before the file is touched: a name without an
  // element form, or a value that XML cannot carry, fails the whole save and leaves the file as
  // it was.
  std::vector<EncodedSection> encoded;
  encoded.reserve(sections.size());
  for (const auto& section : sections) {
    std::optional<std::string> element = EncodeName(section->GetName().c_str());
    if (!element) {
      return 0;
    }
    EncodedSection out{std::move(*element), {}};
    for (uint32_t i = 0; i < section->GetEntryCount(); ++i) {
      const ConfigEntry* entry = section->GetEntry(i);
      std::optional<std::string> key = EncodeName(entry->key.c_str());
      if (!key || !IsXmlText(entry->value)) {
        return 0;
      }
      out.entries.emplace_back(std::move(*key), &entry->value);
    }
    encoded.push_back(std::move(out));
  }

  XmlWriteSession session(path.c_str());
  if (!session.IsOpen()) {
    return 0;
  }
  session.StartElement(kRootElement);
  for (const EncodedSection& section : encoded) {
    session.StartElement(section.element.c_str());
    for (const auto& [key, value] : section.entries) {
      session.TextElement(key.c_str(), value->c_str());
    }
    session.EndElement(section.element.c_str());
  }
  session.EndElement(kRootElement);
  return session.Finish() ? 1 : 0;
}
