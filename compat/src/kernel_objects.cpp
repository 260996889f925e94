#include "kernel_objects.h"

#include <mutex>
#include <unordered_map>
#include <utility>

namespace compat {
namespace {

struct HandleTable {
  std::mutex lock;
  std::unordered_map<ULONG_PTR, std::shared_ptr<KernelObject>> objects;
  // Multiples of 4 from 0x104 on, as Windows hands them out; a value is never given twice.
  ULONG_PTR next = 0x104;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;  // outlives every static destructor that may close
  return *table;
}

ULONG_PTR Key(HANDLE handle) { return reinterpret_cast<ULONG_PTR>(handle); }

}  // namespace

HANDLE AddKernelObject(std::shared_ptr<KernelObject> object) {
  HandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  ULONG_PTR value = table.next;
  table.next += 4;
  table.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle) {
  HandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.objects.find(Key(handle));
  return found != table.objects.end() ? found->second : nullptr;
}

bool RemoveKernelObject(HANDLE handle) {
  std::shared_ptr<KernelObject> removed;  // destroyed after the lock is let go
  HandleTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.objects.find(Key(handle));
  if (found == table.objects.end()) {
    return false;
  }
  removed = std::move(found->second);
  table.objects.erase(found);
  return true;
}

}  // namespace compat
