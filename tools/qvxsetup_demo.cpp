// qvxsetup-demo: what an installer script does with the library's identity queries. Loads the
// library by path and asks for the product's identity from a configuration document.
//
//   qvxsetup-demo <setup library> <configuration document>
#include <windows.h>

#include <cstdio>
#include <memory>

#include "qvxsetup.h"

namespace {

struct ModuleCloser {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

template <typename Fn>
Fn Resolve(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <setup library> <configuration document>\n", argv[0]);
    return 2;
  }
  ModuleHandle setup(LoadLibraryA(argv[1]));
  if (!setup) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  using IntQuery = int32_t(QVXSETUP_CALL*)(const char*);
  using TextQuery = const char*(QVXSETUP_CALL*)(const char*);
  const auto f10 = Resolve<IntQuery>(setup.get(), "f10");
  const struct {
    const char* name;
    const char* meaning;
    TextQuery query;
  } texts[] = {
      {"f11", "name", Resolve<TextQuery>(setup.get(), "f11")},
      {"f12", "version", Resolve<TextQuery>(setup.get(), "f12")},
      {"f13", "full name", Resolve<TextQuery>(setup.get(), "f13")},
      {"f14", "full name without \"QB \"", Resolve<TextQuery>(setup.get(), "f14")},
      {"f21", "title", Resolve<TextQuery>(setup.get(), "f21")},
  };
  if (f10 == nullptr) {
    std::fprintf(stderr, "export f10 not found\n");
    return 1;
  }
  std::printf("  f10 id: %d\n", static_cast<int>(f10(argv[2])));
  for (const auto& t : texts) {
    if (t.query == nullptr) {
      std::fprintf(stderr, "export %s not found\n", t.name);
      return 1;
    }
    // The answer belongs to the library and stays valid until the next query: print it now.
    std::printf("  %s %s: \"%s\"\n", t.name, t.meaning, t.query(argv[2]));
  }
  return 0;
}
