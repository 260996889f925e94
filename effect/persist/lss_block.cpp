#include "lss_block.h"

#include "shared_heap.h"

std::string LssSizeName(const char* name) { return std::string("SIZE_LSS_") + name; }

std::string LssDataName(const char* name) { return std::string("DATA_LSS_") + name; }

bool AllocateLssData(LssBlock& block, uint32_t size) {
  block.data =
      size <= kMaxLssSize ? static_cast<uint8_t*>(SharedAllocate(size != 0 ? size : 1)) : nullptr;
  block.size = block.data != nullptr ? size : 0;
  return block.data != nullptr;
}
