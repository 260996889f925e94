// Owning holders for what the setup library gets from the system: one template, one alias per
// kind, so that no function closes, frees or releases anything by hand.
#pragma once

#include <windows.h>

#include <utility>

// `Traits` names the held type (`Value`), the value that means "nothing held" (`Invalid`) and how
// a held value is let go (`Close`).
template <typename Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() noexcept = default;
  explicit UniqueResource(Value value) noexcept : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  Value get() const noexcept { return value_; }
  // For pointer values (COM interfaces).
  Value operator->() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

  // For a call that hands back a new value through a pointer: what was held is let go first.
  Value* put() noexcept {
    reset();
    return &value_;
  }
  Value release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void reset(Value value = Traits::Invalid()) noexcept {
    Value old = std::exchange(value_, value);
    if (old != Traits::Invalid()) {
      Traits::Close(old);
    }
  }

 private:
  Value value_ = Traits::Invalid();
};

// A kernel handle from CreateFileA (and any other call that fails with INVALID_HANDLE_VALUE).
struct FileHandleTraits {
  using Value = HANDLE;
  static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Value handle) noexcept { CloseHandle(handle); }
};
using UniqueFile = UniqueResource<FileHandleTraits>;

// An OLE automation string from SysAllocString or SysAllocStringLen.
struct BstrTraits {
  using Value = BSTR;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value text) noexcept { SysFreeString(text); }
};
using UniqueBstr = UniqueResource<BstrTraits>;

// One reference to a COM object.
template <typename Interface>
struct ComTraits {
  using Value = Interface*;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value object) noexcept { object->Release(); }
};
template <typename Interface>
using ComPtr = UniqueResource<ComTraits<Interface>>;

// A VARIANT, cleared (releasing the object or string it holds) when it goes out of scope.
class UniqueVariant {
 public:
  UniqueVariant() noexcept { VariantInit(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { VariantClear(&value_); }

  VARIANT* get() noexcept { return &value_; }
  const VARIANT& operator*() const noexcept { return value_; }

 private:
  VARIANT value_;
};
