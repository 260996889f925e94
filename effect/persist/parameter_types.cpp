#include "parameter_types.h"

#include "shared_string.h"

ParameterType ParameterTypeOf(std::string_view tag) {
  static constexpr struct {
    std::string_view tag;
    ParameterType type;
  } kTags[] = {
      {"UINT", ParameterType::kUInt},     {"DWORD", ParameterType::kDword},
      {"INT", ParameterType::kInt},       {"FLOAT", ParameterType::kFloat},
      {"DOUBLE", ParameterType::kDouble}, {"STRING", ParameterType::kString},
      {"LSS", ParameterType::kLss},
  };
  for (const auto& known : kTags) {
    if (NamesMatch(tag, known.tag)) {
      return known.type;
    }
  }
  return ParameterType::kNone;
}

bool TypeTokens::Next(std::string_view& token) {
  if (done_ || rest_.empty()) {
    return false;
  }
  const std::size_t blank = rest_.find(' ');
  if (blank == std::string_view::npos) {
    token = rest_;
    done_ = true;
    return true;
  }
  token = rest_.substr(0, blank);
  rest_.remove_prefix(blank + 1);
  return true;
}
