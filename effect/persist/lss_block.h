// LssBlock: a byte block of stated length, the variable behind the "LSS" type tag. Stored as two
// entries beside the other variables: "SIZE_LSS_" + name holds the size as an integer, and
// "DATA_LSS_" + name the bytes.
#pragma once

#include <cstdint>
#include <string>

struct LssBlock {
  uint32_t size;  // bytes in the block
  // The block. A load stores a new allocation from the C runtime's malloc here, which the caller
  // owns and releases with free; what the pointer held before is not released.
  uint8_t* data;
};

std::string LssSizeName(const char* name);
std::string LssDataName(const char* name);

// The size a block is saved with: a block without bytes is saved as empty, whatever its size says.
inline uint32_t StoredLssSize(const LssBlock& block) {
  return block.data != nullptr ? block.size : 0;
}

// Blocks of 2^31 bytes or more cannot be had in the 32-bit process the plug-in is built for; they
// are refused the same way on every platform.
constexpr uint32_t kMaxLssSize = 0x7FFFFFFF;

// A new allocation of `size` bytes (a non-null one also for 0 bytes) in `block`. When the memory
// cannot be had, the block is left empty: size 0 and a null data.
bool AllocateLssData(LssBlock& block, uint32_t size);
