// No C++ exception may leave an export: a host's frames cannot be unwound through. Each export runs
// its body through CallGuarded and answers `onFailure` when anything is thrown.
#pragma once

#include <utility>

template <typename Result, typename Body>
Result CallGuarded(Result onFailure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return onFailure;
  }
}

template <typename Body>
void CallGuarded(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}
