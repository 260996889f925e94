// OLE automation strings and variants: the layout callers rely on and who frees what.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

// A COM object that only counts its references.
class Counted final : public IUnknown {
 public:
  ULONG references = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

}  // namespace

TEST(Automation, SystemStringHoldsItsLengthBeforeAndANulAfter) {
  const WCHAR text[] = {'a', 0, 'b', 'c'};
  BSTR copy = SysAllocStringLen(text, 4);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(SysStringLen(copy), 4u);
  EXPECT_EQ(SysStringByteLen(copy), 8u);
  uint32_t prefix = 0;
  std::memcpy(&prefix, reinterpret_cast<const char*>(copy) - 4, 4);
  EXPECT_EQ(prefix, 8u);
  EXPECT_EQ(std::memcmp(copy, text, sizeof(text)), 0);
  EXPECT_EQ(copy[4], 0);
  SysFreeString(copy);

  const WCHAR terminated[] = {'x', 'y', 0};
  BSTR plain = SysAllocString(terminated);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(SysStringLen(plain), 2u);
  EXPECT_EQ(std::basic_string<WCHAR>(plain), std::basic_string<WCHAR>(terminated));
  SysFreeString(plain);

  BSTR empty = SysAllocStringLen(nullptr, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  EXPECT_EQ(empty[0], 0);
  SysFreeString(empty);

  BSTR sized = SysAllocStringLen(nullptr, 3);
  ASSERT_NE(sized, nullptr);
  EXPECT_EQ(SysStringLen(sized), 3u);
  EXPECT_EQ(sized[3], 0);
  SysFreeString(sized);
}

TEST(Automation, NullSystemStringIsEmptyAndFreeable) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
}

TEST(Automation, ClearingAVariantReleasesWhatItHolds) {
  Counted object;
  VARIANT variant;
  VariantInit(&variant);
  EXPECT_EQ(variant.vt, VT_EMPTY);
  EXPECT_EQ(VariantClear(&variant), S_OK);

  object.AddRef();
  variant.vt = VT_UNKNOWN;
  variant.punkVal = &object;
  EXPECT_EQ(VariantClear(&variant), S_OK);
  EXPECT_EQ(object.references, 1u);
  EXPECT_EQ(variant.vt, VT_EMPTY);
  EXPECT_EQ(VariantClear(&variant), S_OK) << "an empty variant clears again";
  EXPECT_EQ(object.references, 1u);

  variant.vt = VT_UNKNOWN;
  variant.punkVal = nullptr;
  EXPECT_EQ(VariantClear(&variant), S_OK);

  const WCHAR text[] = {'t', 0};
  variant.vt = VT_BSTR;
  variant.bstrVal = SysAllocString(text);
  EXPECT_EQ(VariantClear(&variant), S_OK);  // the sanitizers see a leak or a double free
  EXPECT_EQ(variant.vt, VT_EMPTY);

  variant.vt = VT_I4;
  variant.lVal = 7;
  EXPECT_EQ(VariantClear(&variant), S_OK);
  EXPECT_EQ(variant.vt, VT_EMPTY);
}
