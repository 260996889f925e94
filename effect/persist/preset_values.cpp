#include "preset_values.h"

#include "number_text.h"
#include "preset_tree.h"
#include "shared_string.h"

namespace {

constexpr std::string_view kValueAttribute = "Value";

PresetAttribute* FindValue(const PresetNodeBase& node, std::string_view name) {
  const PresetNode* child = FindChild(node, name);
  return child != nullptr ? FindAttribute(*child, kValueAttribute) : nullptr;
}

PresetNode& FindOrAddChild(PresetNodeBase& node, std::string_view name) {
  if (PresetNode* child = FindChild(node, name)) {
    return *child;
  }
  SharedStringHolder childName(MakeString(name));
  return *AddChild(node, childName.get());
}

void SetValue(PresetNodeBase& node, std::string_view name, const SharedString& value) {
  SetAttribute(FindOrAddChild(node, name), kValueAttribute, value);
}

void SetValueText(PresetNodeBase& node, std::string_view name, std::string_view text) {
  SharedStringHolder value(MakeString(text));
  SetValue(node, name, value.get());
}

char HexDigit(uint32_t nibble) {
  return static_cast<char>(nibble < 10 ? '0' + nibble : 'A' + (nibble - 10));
}

// A digit character stands for its value, anything else for its code minus 55; four bits count.
uint32_t NibbleOf(char c) {
  const auto code = static_cast<uint32_t>(static_cast<unsigned char>(c));
  return (code >= '0' && code <= '9' ? code - '0' : code - 55u) & 0xFu;
}

}  // namespace

bool GetString(const PresetNodeBase& node, std::string_view name, SharedString& value) {
  const PresetAttribute* attribute = FindValue(node, name);
  if (attribute == nullptr) {
    return false;
  }
  AssignString(value, attribute->value);
  return true;
}

void SetString(PresetNodeBase& node, std::string_view name, const SharedString& value) {
  SetValue(node, name, value);
}

bool GetFloat(const PresetNodeBase& node, std::string_view name, float& value) {
  const PresetAttribute* attribute = FindValue(node, name);
  if (attribute == nullptr) {
    return false;
  }
  value = static_cast<float>(ReadDecimal(View(attribute->value)));
  return true;
}

void SetFloat(PresetNodeBase& node, std::string_view name, float value) {
  SetValueText(node, name, FormatGeneral(value).view());
}

bool GetDouble(const PresetNodeBase& node, std::string_view name, double& value) {
  const PresetAttribute* attribute = FindValue(node, name);
  if (attribute == nullptr) {
    return false;
  }
  value = ReadDecimal(View(attribute->value));
  return true;
}

void SetDouble(PresetNodeBase& node, std::string_view name, double value) {
  SetValueText(node, name, FormatGeneral(value).view());
}

bool GetUInt(const PresetNodeBase& node, std::string_view name, uint32_t& value) {
  const PresetAttribute* attribute = FindValue(node, name);
  if (attribute == nullptr) {
    return false;
  }
  value = ReadInteger(View(attribute->value));
  return true;
}

void SetUInt(PresetNodeBase& node, std::string_view name, uint32_t value) {
  SetValueText(node, name, FormatDecimal(value).view());
}

bool GetInt(const PresetNodeBase& node, std::string_view name, int32_t& value) {
  uint32_t bits = 0;
  if (!GetUInt(node, name, bits)) {
    return false;
  }
  value = static_cast<int32_t>(bits);
  return true;
}

void SetInt(PresetNodeBase& node, std::string_view name, int32_t value) {
  SetUInt(node, name, static_cast<uint32_t>(value));
}

void SetData(PresetNodeBase& node, std::string_view name, const uint8_t* bytes, uint32_t size) {
  SharedStringHolder text(MakeFilledString(uint64_t{2} * size, '0'));
  char* chars = text.get().chars;
  for (uint32_t i = 0; i < size; ++i) {
    chars[2 * i] = HexDigit(bytes[i] >> 4);
    chars[2 * i + 1] = HexDigit(bytes[i] & 0xFu);
  }
  SetValue(node, name, text.get());
}

uint32_t GetData(PresetNodeBase& node, std::string_view name, uint8_t* block, uint32_t size) {
  PresetAttribute* attribute = FindValue(node, name);
  if (attribute == nullptr) {
    return 0;
  }
  const auto pairs = static_cast<uint32_t>(View(attribute->value).size() / 2);
  const uint32_t count = pairs < size ? pairs : size;
  if (count == 0) {
    return 0;
  }
  const char* digits = MutableChars(attribute->value, 0);
  for (uint32_t i = 0; i < count; ++i) {
    block[i] = static_cast<uint8_t>(NibbleOf(digits[2 * i]) << 4 | NibbleOf(digits[2 * i + 1]));
  }
  return count;
}
