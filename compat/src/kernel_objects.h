// The table behind kernel HANDLE values. Each handle stands for one object (an open file, and
// whatever other kind of kernel object a stand-in adds); CloseHandle removes it, and the object
// is destroyed once no call that looked it up still uses it.
#pragma once

#include <windows.h>

#include <memory>

namespace compat {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// A new handle for `object`: never null and never INVALID_HANDLE_VALUE, never reused.
HANDLE AddKernelObject(std::shared_ptr<KernelObject> object);

// The object behind `handle`, or null when the handle is unknown, closed, or of another kind.
std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle);
template <typename Kind>
std::shared_ptr<Kind> FindKernelObjectOf(HANDLE handle) {
  return std::dynamic_pointer_cast<Kind>(FindKernelObject(handle));
}

// False when the handle is unknown or already closed.
bool RemoveKernelObject(HANDLE handle);

}  // namespace compat
