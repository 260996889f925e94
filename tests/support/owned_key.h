// Owning registry keys for tests: one template for owned handles and one alias for keys, so that
// no test closes a key by hand and every key is closed however the test ends.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// `Handle` is a pointer type; `Closer` is called with it once, when the owner lets go.
template <typename Handle, typename Closer>
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<Handle>, Closer>;

struct CloseKey {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using OwnedKey = OwnedHandle<HKEY, CloseKey>;

// Opens or creates a key into an owner: the status, and the key in `*owner` on success.
inline LSTATUS OpenKeyInto(HKEY parent, const char* path, REGSAM access, OwnedKey* owner) {
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExA(parent, path, 0, access, &key);
  owner->reset(status == ERROR_SUCCESS ? key : nullptr);
  return status;
}

inline LSTATUS CreateKeyInto(HKEY parent, const char* path, REGSAM access, OwnedKey* owner,
                             DWORD* disposition = nullptr) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExA(parent, path, 0, nullptr, 0, access, nullptr, &key, disposition);
  owner->reset(status == ERROR_SUCCESS ? key : nullptr);
  return status;
}
