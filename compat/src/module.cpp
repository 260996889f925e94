#include <dlfcn.h>
#include <windows.h>

HMODULE LoadLibraryA(LPCSTR path) {
  if (path == nullptr || *path == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
  }
  return static_cast<HMODULE>(handle);
}

BOOL FreeLibrary(HMODULE module) {
  if (module == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return dlclose(module) == 0 ? TRUE : FALSE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  if (module == nullptr || name == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (reinterpret_cast<ULONG_PTR>(name) <= 0xFFFF) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  void* symbol = dlsym(module, name);
  if (symbol == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
  }
  return reinterpret_cast<FARPROC>(symbol);
}
