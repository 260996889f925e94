// Variables as values of one registry key, read without looking at their registry type.
//
// Integer tags: REG_NONE, 4 bytes, the value in little-endian order; a value of another type
// (REG_DWORD written by another program) loads the same. The other tags, which the effect itself
// never uses:
//   "FLOAT"   REG_NONE, the 4 bytes of the float
//   "DOUBLE"  REG_NONE, the 8 bytes of the double
//   "STRING"  REG_SZ, the characters and a terminating zero; on load the bytes up to the first
//             zero
//   "LSS"     "SIZE_LSS_" + name as an integer, "DATA_LSS_" + name REG_BINARY with the bytes; a
//             missing size gives size 0 and a null data, a data value larger than the size leaves
//             the new block's bytes as the allocation gave them
// A number loads only from a value of exactly its width; any other value leaves the variable as
// it was. Tokens that name no type are neither read nor written.
#pragma once

#include <windows.h>

#include "parameter_store.h"
#include "unique_handle.h"

// The key `section` under `root` opened with KEY_READ; null when it cannot be opened.
RegistryKey OpenKeyForReading(HKEY root, const char* section);
// The key created, or opened when it exists, with KEY_WRITE; null when neither works.
RegistryKey CreateKeyForWriting(HKEY root, const char* section);

class RegistryStore : public ParameterStore {
 public:
  explicit RegistryStore(HKEY key) : key_(key) {}

  void Read(const char* name, ParameterType type, void* variable) override;
  bool Write(const char* name, ParameterType type, const void* variable) override;

 private:
  HKEY key_;
};
