// The typed key/value interface of a configuration document, in its fixed operation order.
// Section and key names are matched with ASCII letters compared regardless of case. Absent means
// that the section, or the key within it, does not exist; every getter then answers its default.
// Null section, key and value arguments count as "".
#pragma once

#include <cstdint>

class ConfigStore {
 public:
  virtual uint32_t GetSectionCount() const = 0;
  // Null when the index is not below the count.
  virtual const char* GetSectionName(uint32_t index) const = 0;
  virtual void DeleteKey(const char* section, const char* key) = 0;
  virtual void DeleteSection(const char* section) = 0;
  // The stored value (possibly empty); the default pointer itself when absent ("" for a null
  // default, so the answer is never null).
  virtual const char* GetString(const char* section, const char* key,
                                const char* defaultValue) const = 0;
  // Creates the section and the entry when absent, each at the end, then stores a copy of `value`.
  virtual void SetString(const char* section, const char* key, const char* value) = 0;
  // Absent: the default unchanged; present: 1 when the value read as by GetInt is non-zero, else 0.
  virtual int32_t GetBool(const char* section, const char* key, int32_t defaultValue) const = 0;
  virtual void SetBool(const char* section, const char* key, int32_t value) = 0;
  // GetInt, or the default when that lies outside minimum..maximum.
  virtual int32_t GetIntInRange(const char* section, const char* key, int32_t defaultValue,
                                int32_t minimum, int32_t maximum) const = 0;
  // Absent: the default; present: the text read as by the C library's atol (see number_text.h).
  virtual int32_t GetInt(const char* section, const char* key, int32_t defaultValue) const = 0;
  virtual void SetInt(const char* section, const char* key, int32_t value) = 0;
  // 1 and `size` bytes in `buffer` when the stored text is a SetBinary value of exactly that size
  // with a matching byte sum; else 0 and the buffer untouched (see binary_text.h).
  virtual int32_t GetBinary(const char* section, const char* key, void* buffer,
                            uint32_t size) const = 0;
  virtual void SetBinary(const char* section, const char* key, const void* buffer,
                         uint32_t size) = 0;
  // Absent: the default; present: the text read by the C library's atof.
  virtual double GetDouble(const char* section, const char* key, double defaultValue) const = 0;
  // Six significant digits (see number_text.h).
  virtual void SetDouble(const char* section, const char* key, double value) = 0;
  // 1 until the first Load and again after Clear, else 0.
  virtual int32_t IsUnloaded() const = 0;

 protected:
  // Documents are destroyed through their XML handler base, never through this interface.
  ~ConfigStore() = default;
};
