// Owning handles: one template, one alias per kind of handle, so that nothing is closed by hand.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// `Handle` is a pointer type; `Closer` is called with it once, when the owner lets go.
template <typename Handle, typename Closer>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, Closer>;

struct CloseRegistryKey {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using RegistryKey = UniqueHandle<HKEY, CloseRegistryKey>;
