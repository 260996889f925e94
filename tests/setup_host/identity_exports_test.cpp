// An installer's view of the library: loads it by path, resolves the identity queries by their
// undecorated names and calls them through the declared convention, in which the callee removes
// its arguments from the stack.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>

#include "qvxsetup.h"
#include "scoped_environment_variable.h"
#include "scratch_folder.h"

namespace {

struct ModuleCloser {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

using IdQueryFn = int32_t(QVXSETUP_CALL*)(const char*);
using TextQueryFn = const char*(QVXSETUP_CALL*)(const char*);

const char* const kIdentityQueries[] = {"f10", "f11", "f12", "f13", "f14", "f21"};

const char kProduct[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<settings>\r\n"
    "\t<common>\r\n"
    "\t\t<id>-7</id>\r\n"
    "\t\t<name>Visage Shifter</name>\r\n"
    "\t\t<version>2.0.1</version>\r\n"
    "\t\t<namefull>qb Visage Shifter</namefull>\r\n"
    "\t\t<edition>Amber</edition>\r\n"
    "\t</common>\r\n"
    "</settings>\r\n";

class IdentityExports : public ::testing::Test {
 protected:
  IdentityExports() : appData_("APPDATA", folder_.Path().c_str()) {
    folder_.WriteFile(std::filesystem::path("Quenby") / "QVX7" / "product.xml", kProduct);
  }

  void SetUp() override {
    module_.reset(LoadLibraryA(QVXSETUP_LIBRARY));
    ASSERT_NE(module_, nullptr) << "cannot load " << QVXSETUP_LIBRARY << ", error "
                                << GetLastError();
  }

  FARPROC Address(const char* name) {
    FARPROC address = GetProcAddress(module_.get(), name);
    EXPECT_NE(address, nullptr) << name;
    return address;
  }

  template <typename Fn>
  Fn Export(const char* name) {
    // Through void (*)(void), the type GCC accepts as a generic function pointer.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(Address(name)));
  }

  ScratchFolder folder_;
  ScopedEnvironmentVariable appData_;
  ModuleHandle module_;
};

#if defined(__i386__)
// Calls `function` with one 32-bit argument pushed on the stack and answers how many bytes of
// arguments the callee left there: 0 when it removed its argument itself, 4 when it left it to
// the caller. The stack pointer is put back either way, so a wrong convention cannot unbalance
// the test.
uint32_t BytesLeftOnStack(const void* function, const void* argument) {
  uint32_t result;
  uint32_t left;
  __asm__ volatile(
      "movl %%esp, %%esi\n\t"
      "pushl %[argument]\n\t"
      "call *%[function]\n\t"
      "movl %%esi, %%ecx\n\t"
      "subl %%esp, %%ecx\n\t"
      "movl %%esi, %%esp\n\t"
      : "=a"(result), "=c"(left)
      : [function] "r"(function), [argument] "r"(argument)
      : "esi", "edx", "memory", "cc");
  (void)result;
  return left;
}

// The probe's own control: a function that leaves its argument to the caller.
const char* __cdecl CallerPopsProbe(const char* text) { return text; }
#endif

}  // namespace

TEST_F(IdentityExports, ExportsTheQueriesUnderUndecoratedNamesOnly) {
  for (const char* name : kIdentityQueries) {
    SCOPED_TRACE(name);
    EXPECT_NE(GetProcAddress(module_.get(), name), nullptr);
    const std::string decorated = std::string(name) + "@4";
    EXPECT_EQ(GetProcAddress(module_.get(), decorated.c_str()), nullptr);
    EXPECT_EQ(GetProcAddress(module_.get(), ("_" + decorated).c_str()), nullptr);
  }
  // Inner pieces stay inside.
  EXPECT_EQ(GetProcAddress(module_.get(), "g_identityDocument"), nullptr);
  EXPECT_EQ(GetProcAddress(module_.get(), "g_titleBuffer"), nullptr);
}

TEST_F(IdentityExports, AnswerThroughTheirDeclaredTypes) {
  auto f10 = Export<IdQueryFn>("f10");
  auto f11 = Export<TextQueryFn>("f11");
  auto f12 = Export<TextQueryFn>("f12");
  auto f13 = Export<TextQueryFn>("f13");
  auto f14 = Export<TextQueryFn>("f14");
  auto f21 = Export<TextQueryFn>("f21");
  ASSERT_FALSE(HasFailure());

  EXPECT_EQ(f10("product.xml"), -7);
  EXPECT_STREQ(f11("product.xml"), "Visage Shifter");
  EXPECT_STREQ(f12("product.xml"), "2.0.1");
  EXPECT_STREQ(f13("product.xml"), "qb Visage Shifter");
  EXPECT_STREQ(f14("product.xml"), "Visage Shifter");
  EXPECT_STREQ(f21("product.xml"), "Visage Shifter 2.0 Amber");

  // Installers pass a null pointer for an empty path: the base folder itself, which is no
  // document.
  EXPECT_EQ(f10(nullptr), 0);
  EXPECT_STREQ(f11(nullptr), "");
  EXPECT_STREQ(f21(nullptr), "Tonecraft 7.0 ");
}

TEST_F(IdentityExports, TheCalleeRemovesItsArgumentFromTheStack) {
#if defined(__i386__)
  EXPECT_EQ(BytesLeftOnStack(reinterpret_cast<const void*>(&CallerPopsProbe), "x"), 4u)
      << "the probe cannot tell the conventions apart";
  for (const char* name : kIdentityQueries) {
    SCOPED_TRACE(name);
    const void* function = reinterpret_cast<const void*>(Address(name));
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(BytesLeftOnStack(function, "product.xml"), 0u);
  }
#else
  GTEST_SKIP() << "only 32-bit x86 has a callee-pops convention; here every call is the same";
#endif
}
