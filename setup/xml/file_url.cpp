#include "xml/file_url.h"

#include <algorithm>
#include <string>

bool BuildFileUrl(const char* path, WCHAR (&url)[kFileUrlUnits]) {
  std::fill(std::begin(url), std::end(url), WCHAR{0});
  std::string text = "file:///";
  text += path != nullptr ? path : "";
  std::replace(text.begin(), text.end(), '\\', '/');
  const int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);  // NUL included
  if (units <= 0 || units > kFileUrlUnits) {
    return false;
  }
  return MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, url, kFileUrlUnits) == units;
}
