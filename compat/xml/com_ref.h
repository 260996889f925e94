// Holds one reference to a COM object and returns it when it goes out of scope or is replaced.
#pragma once

#include <windows.h>

#include <utility>

namespace compat {

template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  // Takes a new reference to `object`.
  explicit ComRef(Interface* object) : object_(object) {
    if (object_ != nullptr) {
      object_->AddRef();
    }
  }
  ComRef(const ComRef& other) : ComRef(other.object_) {}
  ComRef& operator=(ComRef other) {
    std::swap(object_, other.object_);
    return *this;
  }
  ~ComRef() {
    if (object_ != nullptr) {
      object_->Release();
    }
  }

  Interface* get() const { return object_; }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // Takes over a reference the caller already holds.
  static ComRef Adopt(Interface* object) {
    ComRef ref;
    ref.object_ = object;
    return ref;
  }

 private:
  Interface* object_ = nullptr;
};

}  // namespace compat
