// A second user of the registry functions in the test process. Natively it links its own copy of
// the stand-ins, as each of the shipped libraries does, so the tests can hand keys across copies;
// on Windows it calls the system like everyone else.
#include <windows.h>

extern "C" {

LSTATUS PeerOpenKey(HKEY parent, const char* path, REGSAM access, HKEY* key) {
  return RegOpenKeyExA(parent, path, 0, access, key);
}

LSTATUS PeerCloseKey(HKEY key) { return RegCloseKey(key); }

LSTATUS PeerWriteDword(HKEY key, const char* name, DWORD value) {
  return RegSetValueExA(key, name, 0, REG_NONE, reinterpret_cast<const BYTE*>(&value),
                        sizeof value);
}

LSTATUS PeerReadDword(HKEY key, const char* name, DWORD* value) {
  DWORD size = sizeof *value;
  return RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
}

}  // extern "C"
