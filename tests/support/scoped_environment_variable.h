// Sets (or removes) a process environment variable for the life of the object and puts the old
// value back afterwards. Goes through the Win32 functions, so that the library under test, which
// reads the environment the same way, sees the change on both platforms.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class ScopedEnvironmentVariable {
 public:
  // A null value removes the variable.
  ScopedEnvironmentVariable(const char* name, const char* value) : name_(name), old_(Read(name)) {
    SetEnvironmentVariableA(name, value);
  }
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;
  ~ScopedEnvironmentVariable() {
    SetEnvironmentVariableA(name_.c_str(), old_ ? old_->c_str() : nullptr);
  }

  // The variable's value, or nothing when it is unset. An empty variable reads as "" when its
  // absence is not reported (the two look alike to a reader that only sees the length 0).
  static std::optional<std::string> Read(const char* name) {
    SetLastError(ERROR_SUCCESS);
    DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
        return std::nullopt;
      }
      return std::string();
    }
    std::vector<char> buffer(needed);
    const DWORD length = GetEnvironmentVariableA(name, buffer.data(), needed);
    return std::string(buffer.data(), length < needed ? length : 0);
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};
