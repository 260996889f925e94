#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

bool IsUsableName(LPCSTR name) {
  return name != nullptr && *name != '\0' && std::strchr(name, '=') == nullptr;
}

}  // namespace

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
  const char* value = IsUsableName(name) ? std::getenv(name) : nullptr;
  if (value == nullptr) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  const size_t length = std::strlen(value);
  if (buffer == nullptr || length >= size) {
    return static_cast<DWORD>(length + 1);
  }
  std::memcpy(buffer, value, length + 1);
  return static_cast<DWORD>(length);
}

BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value) {
  if (!IsUsableName(name)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int result = value == nullptr ? unsetenv(name) : setenv(name, value, 1);
  if (result != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  return TRUE;
}
