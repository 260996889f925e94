// Typed access to the variables stored in a preset tree node: the child named after the variable
// holds its text in the attribute "Value".
//
// A get accessor finds the child and its "Value", converts the text and stores it; it answers true
// when both exist, else false with the variable untouched. A set accessor finds the child or
// appends it, turns the value into text and replaces the "Value" attribute or appends one. Text
// forms are those of number_text.h. Errors as in preset_tree.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "echotap_presets.h"

// The string itself; the variable shares the attribute's storage when the share count allows.
bool GetString(const PresetNodeBase& node, std::string_view name, SharedString& value);
void SetString(PresetNodeBase& node, std::string_view name, const SharedString& value);

bool GetFloat(const PresetNodeBase& node, std::string_view name, float& value);
void SetFloat(PresetNodeBase& node, std::string_view name, float value);

bool GetDouble(const PresetNodeBase& node, std::string_view name, double& value);
void SetDouble(PresetNodeBase& node, std::string_view name, double value);

// Written as the signed decimal of the 32 bits; read with ReadInteger, so "-1" reads back as
// 4294967295.
bool GetUInt(const PresetNodeBase& node, std::string_view name, uint32_t& value);
void SetUInt(PresetNodeBase& node, std::string_view name, uint32_t value);
bool GetInt(const PresetNodeBase& node, std::string_view name, int32_t& value);
void SetInt(PresetNodeBase& node, std::string_view name, int32_t value);

// Two digits per byte, high four bits first, 0-9 and A-F: {0x01, 0xAB} is "01AB".
void SetData(PresetNodeBase& node, std::string_view name, const uint8_t* bytes, uint32_t size);

// Decodes min(text length / 2, size) bytes into `block` and answers how many; 0 when the child or
// its "Value" is missing. An odd last character is ignored. A digit character stands for its
// value; any other character for its code minus 55, of which only the low four bits count, so both
// cases of A-F decode as hexadecimal and nothing is an error. Bytes past the decoded ones are left
// as they were. Decoding takes a writable view of the "Value" string, which gives it storage of its
// own marked never to be shared.
uint32_t GetData(PresetNodeBase& node, std::string_view name, uint8_t* block, uint32_t size);
