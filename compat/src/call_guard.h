// Win32 functions report failures by result, never by exception. The only exception the stand-ins
// can meet is an allocation failure of the standard library; this turns it into the result the
// function documents for failure, with ERROR_NOT_ENOUGH_MEMORY as the reason.
#pragma once

#include <windows.h>

namespace compat {

template <typename Result, typename Body>
Result GuardedCall(Result onFailure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return onFailure;
  }
}

}  // namespace compat
