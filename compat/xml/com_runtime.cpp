// COM on a thread, and object creation for the classes the stand-in serves.
#include <windows.h>

#include <mutex>
#include <new>
#include <vector>

#include "engine_classes.h"

namespace compat {
namespace {

thread_local int t_initializeCount = 0;

struct ClassAvailability {
  std::mutex lock;
  std::vector<CLSID> unavailable;

  bool IsAvailable(REFCLSID classId) {
    std::lock_guard<std::mutex> guard(lock);
    for (const CLSID& id : unavailable) {
      if (IsEqualGUID(id, classId)) {
        return false;
      }
    }
    return true;
  }
};

ClassAvailability& Availability() {
  static ClassAvailability availability;
  return availability;
}

}  // namespace

void SetClassAvailable(REFCLSID classId, bool available) {
  ClassAvailability& classes = Availability();
  std::lock_guard<std::mutex> guard(classes.lock);
  for (auto it = classes.unavailable.begin(); it != classes.unavailable.end(); ++it) {
    if (IsEqualGUID(*it, classId)) {
      classes.unavailable.erase(it);
      break;
    }
  }
  if (!available) {
    classes.unavailable.push_back(classId);
  }
}

}  // namespace compat

HRESULT CoInitialize(LPVOID) { return compat::t_initializeCount++ == 0 ? S_OK : S_FALSE; }

void CoUninitialize() {
  if (compat::t_initializeCount > 0) {
    --compat::t_initializeCount;
  }
}

HRESULT CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID iid,
                         LPVOID* object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  *object = nullptr;
  if (compat::t_initializeCount == 0) {
    return CO_E_NOTINITIALIZED;
  }
  if (outer != nullptr) {
    return CLASS_E_NOAGGREGATION;
  }
  if ((context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)) == 0 ||
      !compat::Availability().IsAvailable(classId)) {
    return REGDB_E_CLASSNOTREG;
  }
  try {
    if (IsEqualGUID(classId, compat::kSaxReaderClassId)) {
      return compat::CreateSaxReader(iid, object);
    }
    if (IsEqualGUID(classId, compat::kXmlWriterClassId)) {
      return compat::CreateXmlWriter(iid, object);
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return REGDB_E_CLASSNOTREG;
}
