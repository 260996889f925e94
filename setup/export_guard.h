// No C++ exception may leave an export: an installer's frames cannot be unwound through. Each
// export runs its body through CallGuarded and answers `onFailure` when anything is thrown (in
// practice only a failed allocation).
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
