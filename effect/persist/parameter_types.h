// The type tags of the persistence engine and the walk over a string of them.
#pragma once

#include <string_view>

enum class ParameterType {
  kNone,    // a token that names no type: nothing is read or written
  kUInt,    // uint32_t
  kDword,   // uint32_t
  kInt,     // int32_t
  kFloat,   // float
  kDouble,  // double
  kString,  // SharedString
  kLss,     // LssBlock
};

// The tag matched without regard to ASCII letter case; kNone for anything else, "" included.
ParameterType ParameterTypeOf(std::string_view tag);

// "UINT", "DWORD" and "INT": the same 32 bits in every store.
inline bool IsIntegerType(ParameterType type) {
  return type == ParameterType::kUInt || type == ParameterType::kDword ||
         type == ParameterType::kInt;
}

// The tokens of a type string, separated by single blanks. A blank at the very end adds no token; a
// blank at the start or two blanks in a row give an empty token. The whole string is walked,
// however long.
class TypeTokens {
 public:
  explicit TypeTokens(const char* types) : rest_(types != nullptr ? types : "") {}

  // The next token, or false when the string is used up.
  bool Next(std::string_view& token);

 private:
  std::string_view rest_;
  bool done_ = false;
};
