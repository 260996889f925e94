#include "tree_store.h"

#include <cstdint>

#include "lss_block.h"
#include "preset_values.h"

void TreeStore::Read(const char* name, ParameterType type, void* variable) {
  switch (type) {
    case ParameterType::kUInt:
    case ParameterType::kDword:
      GetUInt(node_, name, *static_cast<uint32_t*>(variable));
      break;
    case ParameterType::kInt:
      GetInt(node_, name, *static_cast<int32_t*>(variable));
      break;
    case ParameterType::kFloat:
      GetFloat(node_, name, *static_cast<float*>(variable));
      break;
    case ParameterType::kDouble:
      GetDouble(node_, name, *static_cast<double*>(variable));
      break;
    case ParameterType::kString:
      GetString(node_, name, *static_cast<SharedString*>(variable));
      break;
    case ParameterType::kLss: {
      auto& block = *static_cast<LssBlock*>(variable);
      uint32_t size = 0;
      if (!GetUInt(node_, LssSizeName(name), size)) {
        block.size = 0;
        block.data = nullptr;
      } else if (AllocateLssData(block, size)) {
        GetData(node_, LssDataName(name), block.data, block.size);
      }
      break;
    }
    case ParameterType::kNone:
      break;
  }
}

bool TreeStore::Write(const char* name, ParameterType type, const void* variable) {
  switch (type) {
    case ParameterType::kUInt:
    case ParameterType::kDword:
      SetUInt(node_, name, *static_cast<const uint32_t*>(variable));
      break;
    case ParameterType::kInt:
      SetInt(node_, name, *static_cast<const int32_t*>(variable));
      break;
    case ParameterType::kFloat:
      SetFloat(node_, name, *static_cast<const float*>(variable));
      break;
    case ParameterType::kDouble:
      SetDouble(node_, name, *static_cast<const double*>(variable));
      break;
    case ParameterType::kString:
      SetString(node_, name, *static_cast<const SharedString*>(variable));
      break;
    case ParameterType::kLss: {
      const auto& block = *static_cast<const LssBlock*>(variable);
      const uint32_t size = StoredLssSize(block);
      SetUInt(node_, LssSizeName(name), size);
      SetData(node_, LssDataName(name), block.data, size);
      break;
    }
    case ParameterType::kNone:
      break;
  }
  return true;
}
