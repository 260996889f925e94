// The setup library's sectioned key/value store: named sections of key/value text pairs in creation
// order, typed access on top, loaded from and saved to one XML file ("settings" root, one element
// per section, one child element per key). Names are matched with ASCII letters compared regardless
// of case and keep the case with which they were first created.
//
// The document is itself the handler that the XML reader drives while it loads; it is destroyed
// through that base.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config_section.h"
#include "config_store.h"
#include "xml/sax_handler_base.h"

class ConfigDocument : public ConfigStore, public SaxHandlerBase {
 public:
  // Resolved paths longer than this are not read: the reader copies the path into a 324-byte
  // buffer with its NUL, and a cut path would name another file.
  static constexpr size_t kMaxReadPathLength = 323;

  ConfigDocument();
  ConfigDocument(const ConfigDocument&) = delete;
  ConfigDocument& operator=(const ConfigDocument&) = delete;
  ~ConfigDocument() override;

  // Clears the document, resolves `path` (see config_path.h), marks it loaded and reads the file.
  // A missing, unreadable or malformed file is not a failure: the document keeps what was read
  // before the fault, possibly nothing. 0 only when the XML reader cannot be created, else 1.
  int32_t Load(const char* path);
  // Writes every section to the resolved path, replacing the file only when the whole document
  // was written. 0 when the XML writer or the file cannot be created, when there is no resolved
  // path, when a section or key has no element name (empty, or encoded longer than 1023 bytes), or
  // when a value holds a control character other than tab, line feed and carriage return, which
  // XML cannot carry: then nothing is written and an existing file stays as it was. Else 1. The
  // reader turns a carriage return, alone or before a line feed, into a line feed.
  int32_t Save();
  // Resolves `path` by the path rule and keeps it for Load and Save.
  void SetPath(const char* path);
  // Destroys every section and marks the document unloaded; the path stays.
  void Clear();

  // The resolved path; empty when a relative path had no base folder to go under.
  const std::string& GetPath() const { return path; }

  ConfigSection* FindSection(const char* name) const;
  // The match, else a new empty section appended at the end.
  ConfigSection& GetOrCreateSection(const char* name);
  // The section at `index`; null when the index is not below the count.
  const ConfigSection* GetSection(uint32_t index) const;

  // ConfigStore, in its operation order.
  uint32_t GetSectionCount() const override;
  const char* GetSectionName(uint32_t index) const override;
  void DeleteKey(const char* section, const char* key) override;
  void DeleteSection(const char* section) override;
  const char* GetString(const char* section, const char* key,
                        const char* defaultValue) const override;
  void SetString(const char* section, const char* key, const char* value) override;
  int32_t GetBool(const char* section, const char* key, int32_t defaultValue) const override;
  void SetBool(const char* section, const char* key, int32_t value) override;
  int32_t GetIntInRange(const char* section, const char* key, int32_t defaultValue, int32_t minimum,
                        int32_t maximum) const override;
  int32_t GetInt(const char* section, const char* key, int32_t defaultValue) const override;
  void SetInt(const char* section, const char* key, int32_t value) override;
  int32_t GetBinary(const char* section, const char* key, void* buffer,
                    uint32_t size) const override;
  void SetBinary(const char* section, const char* key, const void* buffer, uint32_t size) override;
  double GetDouble(const char* section, const char* key, double defaultValue) const override;
  void SetDouble(const char* section, const char* key, double value) override;
  int32_t IsUnloaded() const override;

 protected:
  // The reader's hooks: root "settings" at depth 0, sections at depth 1, entries at depth 2; an
  // entry's text is stored when it ends. Anything deeper, or another root, stops the reading.
  int OnStartElement(const char* name) override;
  int OnEndElement(const char* name) override;
  int OnCharacters(const char* text) override;

 private:
  // The stored value, or null when the section or the key is absent.
  const std::string* FindValue(const char* section, const char* key) const;
  int32_t ReadFile();
  int32_t WriteFile() const;

  std::string text;            // character data of the element being read
  std::string currentSection;  // decoded name of the section being read; empty: none usable
  int32_t depth = 0;           // element nesting while a file is read
  int32_t loaded = 0;          // 1 from Load until Clear
  std::vector<std::unique_ptr<ConfigSection>> sections;
  std::string path;
};
