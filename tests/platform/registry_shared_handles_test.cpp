// Keys handed between two users of the registry functions in one process: the test program and a
// library that carries its own copy of them (natively, each shipped library links the stand-ins
// itself). A key opened by either works in the other, and each sees what the other wrote.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "owned_key.h"
#include "registry_test_key.h"

namespace {

struct FreeModule {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using OwnedModule = OwnedHandle<HMODULE, FreeModule>;

using PeerOpenKeyFn = LSTATUS (*)(HKEY, const char*, REGSAM, HKEY*);
using PeerCloseKeyFn = LSTATUS (*)(HKEY);
using PeerWriteDwordFn = LSTATUS (*)(HKEY, const char*, DWORD);
using PeerReadDwordFn = LSTATUS (*)(HKEY, const char*, DWORD*);

class RegistrySharedHandles : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    peer_.reset(LoadLibraryA(REGISTRY_PEER_LIBRARY));
    ASSERT_NE(peer_, nullptr) << "cannot load " << REGISTRY_PEER_LIBRARY;
    open_ = Resolve<PeerOpenKeyFn>("PeerOpenKey");
    close_ = Resolve<PeerCloseKeyFn>("PeerCloseKey");
    write_ = Resolve<PeerWriteDwordFn>("PeerWriteDword");
    read_ = Resolve<PeerReadDwordFn>("PeerReadDword");
    ASSERT_TRUE(open_ && close_ && write_ && read_);
  }

  template <typename Fn>
  Fn Resolve(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(peer_.get(), name)));
  }

  OwnedModule peer_;
  PeerOpenKeyFn open_ = nullptr;
  PeerCloseKeyFn close_ = nullptr;
  PeerWriteDwordFn write_ = nullptr;
  PeerReadDwordFn read_ = nullptr;
};

TEST_F(RegistrySharedHandles, KeyOpenedHereWorksInThePeer) {
  const DWORD here = 55;
  ASSERT_EQ(RegSetValueExA(main(), "VolL", 0, REG_NONE, reinterpret_cast<const BYTE*>(&here),
                           sizeof here),
            ERROR_SUCCESS);
  DWORD seen = 0;
  EXPECT_EQ(read_(main(), "voll", &seen), ERROR_SUCCESS);
  EXPECT_EQ(seen, here);

  EXPECT_EQ(write_(main(), "VolR", 56), ERROR_SUCCESS);
  DWORD value = 0;
  DWORD size = sizeof value;
  EXPECT_EQ(
      RegQueryValueExA(main(), "VolR", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
      ERROR_SUCCESS);
  EXPECT_EQ(value, 56u);
}

TEST_F(RegistrySharedHandles, KeyOpenedByThePeerWorksHereKeepingItsAccess) {
  HKEY fromPeer = nullptr;
  ASSERT_EQ(open_(HKEY_CURRENT_USER, PathOf().c_str(), KEY_READ, &fromPeer), ERROR_SUCCESS);
  OwnedKey owned(fromPeer);  // closed here, by the other copy

  const DWORD value = 18;
  EXPECT_EQ(RegSetValueExA(owned.get(), "DelL", 0, REG_NONE, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_ACCESS_DENIED);
  ASSERT_EQ(RegSetValueExA(main(), "DelL", 0, REG_NONE, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_SUCCESS);
  DWORD seen = 0;
  DWORD size = sizeof seen;
  EXPECT_EQ(RegQueryValueExA(owned.get(), "DelL", nullptr, nullptr, reinterpret_cast<BYTE*>(&seen),
                             &size),
            ERROR_SUCCESS);
  EXPECT_EQ(seen, value);

  HKEY child = nullptr;
  EXPECT_EQ(RegOpenKeyExA(owned.get(), "missing", 0, KEY_READ, &child), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistrySharedHandles, EitherSideClosesWhatTheOtherOpened) {
  OwnedKey here;
  ASSERT_EQ(OpenKeyInto(HKEY_CURRENT_USER, PathOf().c_str(), KEY_READ, &here), ERROR_SUCCESS);
  EXPECT_EQ(close_(here.release()), ERROR_SUCCESS);

  HKEY fromPeer = nullptr;
  ASSERT_EQ(open_(HKEY_CURRENT_USER, PathOf().c_str(), KEY_READ, &fromPeer), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(fromPeer), ERROR_SUCCESS);
}

}  // namespace
