// The built plug-in loaded the way a host loads it: by path, its exports resolved by name.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <type_traits>

#include "echotap.h"

class EchotapModule {
 public:
  EchotapModule() : module_(LoadLibraryA(ECHOTAP_LIBRARY)) {}

  bool loaded() const { return module_ != nullptr; }

  // The export `name` as a function pointer of type Fn; null (and a failure) when it is missing.
  template <typename Fn>
  Fn Export(const char* name) const {
    FARPROC address = GetProcAddress(module_.get(), name);
    EXPECT_NE(address, nullptr) << name;
    // Through void (*)(void), the type GCC accepts as a generic function pointer.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(address));
  }

 private:
  struct Unload {
    void operator()(HMODULE module) const { FreeLibrary(module); }
  };
  std::unique_ptr<std::remove_pointer_t<HMODULE>, Unload> module_;
};
