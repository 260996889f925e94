#include "persist/shared_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "persist/shared_heap.h"

namespace {

// A string in storage made the way a host makes it, with a chosen share count.
SharedString HostString(const char* text, uint8_t shareCount) {
  const auto length = static_cast<uint32_t>(std::strlen(text));
  auto* block = static_cast<char*>(SharedAllocate(length + 2));
  block[0] = static_cast<char>(shareCount);
  std::memcpy(block + 1, text, length + 1);
  SharedString s{};
  s.allocatorTag = 0x5A;
  s.chars = block + 1;
  s.length = length;
  s.capacity = length;
  return s;
}

}  // namespace

TEST(SharedString, CopySharesStorageUntilTheCountIsFull) {
  struct Case {
    uint8_t count;
    bool shares;
    uint8_t sourceCountAfter;
  } cases[] = {
      {0, true, 1},      {1, true, 2}, {253, true, 254}, {254, false, 254},  // 255 holders already
      {255, false, 255},                                                     // never shared
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.count));
    SharedString source = HostString("Value", c.count);
    SharedString copy = ShareString(source);
    EXPECT_EQ(copy.chars == source.chars, c.shares);
    EXPECT_EQ(ShareCountOf(source), c.sourceCountAfter);
    EXPECT_EQ(View(copy), "Value");
    EXPECT_EQ(copy.length, 5u);
    EXPECT_EQ(copy.allocatorTag, 0x5A);
    if (!c.shares) {
      EXPECT_EQ(ShareCountOf(copy), 0);
      EXPECT_EQ(copy.capacity, 5u);
    }
    ReleaseString(copy);
    EXPECT_EQ(ShareCountOf(source), c.count);
    // The host's other holders are made up: free the storage as its last holder.
    ShareCountOf(source) = 0;
    ReleaseString(source);
  }
}

TEST(SharedString, CopyOfAnEmptyStringHasNoStorage) {
  SharedString withStorage = HostString("", 0);
  SharedString copy = ShareString(withStorage);
  EXPECT_EQ(copy.chars, nullptr);
  EXPECT_EQ(copy.length, 0u);
  EXPECT_EQ(ShareCountOf(withStorage), 0);
  ReleaseString(withStorage);

  SharedString none{};
  EXPECT_EQ(ShareString(none).chars, nullptr);
  EXPECT_EQ(View(none), "");
}

TEST(SharedString, ReleaseCountsDownAndTheLastHolderFrees) {
  SharedString first = MakeString("shared");
  SharedString second = ShareString(first);
  SharedString third = ShareString(first);
  ASSERT_EQ(ShareCountOf(first), 2);
  ReleaseString(second);
  EXPECT_EQ(second.chars, nullptr);
  EXPECT_EQ(second.length, 0u);
  EXPECT_EQ(second.capacity, 0u);
  EXPECT_EQ(ShareCountOf(first), 1);
  ReleaseString(third);
  EXPECT_EQ(ShareCountOf(first), 0);
  EXPECT_EQ(View(first), "shared");
  ReleaseString(first);  // frees: the sanitizer build reports a leak otherwise
  ReleaseString(first);  // an empty string has nothing to let go of
}

TEST(SharedString, WritableViewTakesOwnStorageMarkedUnshareable) {
  SharedString original = MakeString("0A0B");
  SharedString sharer = ShareString(original);
  ASSERT_EQ(sharer.chars, original.chars);

  char* chars = MutableChars(sharer, 1);
  EXPECT_NE(sharer.chars, original.chars);
  EXPECT_EQ(chars, sharer.chars + 1);
  EXPECT_EQ(ShareCountOf(sharer), kUnshareable);
  EXPECT_EQ(ShareCountOf(original), 0);
  EXPECT_EQ(View(sharer), "0A0B");
  chars[0] = 'x';
  EXPECT_EQ(View(original), "0A0B");

  // Storage of its own is kept and marked; copies of it no longer share.
  const char* before = original.chars;
  MutableChars(original, 4);
  EXPECT_EQ(original.chars, before);
  EXPECT_EQ(ShareCountOf(original), kUnshareable);
  SharedString copy = ShareString(original);
  EXPECT_NE(copy.chars, original.chars);

  SharedString empty{};
  EXPECT_EQ(MutableChars(empty, 0), nullptr);

  ReleaseString(copy);
  ReleaseString(original);  // 255: freed by its one holder
  ReleaseString(sharer);
}

TEST(SharedString, PositionPastTheEndIsAnError) {
  SharedString text = MakeString("abc");
  SharedString empty{};
  for (auto* s : {&text, &empty}) {
    try {
      MutableChars(*s, s->length + 1);
      ADD_FAILURE() << "no error for position " << s->length + 1;
    } catch (const std::out_of_range& error) {
      EXPECT_STREQ(error.what(), "invalid string position");
    }
  }
  EXPECT_EQ(ShareCountOf(text), 0);  // untouched by the failed call
  ReleaseString(text);
}

TEST(SharedString, LengthBeyondTheLongestStringIsAnError) {
  static const char kSomeChars[] = "x";
  for (uint64_t length : {uint64_t{4294967294u}, uint64_t{4294967295u}, uint64_t{1} << 33}) {
    SCOPED_TRACE(length);
    try {
      MakeFilledString(length, '0');
      ADD_FAILURE() << "no error";
    } catch (const std::length_error& error) {
      EXPECT_STREQ(error.what(), "string too long");
    }
  }
  if (sizeof(std::size_t) > 4) {
    // The characters are never read: the length is refused first.
    EXPECT_THROW(MakeString(std::string_view(kSomeChars, std::size_t{4294967294u})),
                 std::length_error);
  }
}

TEST(SharedString, AssignmentLetsGoOfTheOldValueAndKeepsTheTag) {
  SharedString target = MakeString("old");
  target.allocatorTag = 7;
  SharedString source = MakeString("new value");
  AssignString(target, source);
  EXPECT_EQ(target.chars, source.chars);
  EXPECT_EQ(target.allocatorTag, 7);
  EXPECT_EQ(ShareCountOf(source), 1);

  AssignString(target, target);  // to itself: still one extra holder
  EXPECT_EQ(View(target), "new value");
  EXPECT_EQ(ShareCountOf(source), 1);

  AssignText(target, "text");
  EXPECT_EQ(View(target), "text");
  EXPECT_EQ(ShareCountOf(source), 0);
  AssignText(target, "");
  EXPECT_EQ(target.chars, nullptr);
  ReleaseString(source);
}

TEST(SharedString, NamesMatchIgnoringAsciiCaseOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool match;
  } cases[] = {
      {"Value", "value", true},   {"VALUE", "vAlUe", true}, {"", "", true},
      {"Value", "Values", false}, {"Val", "Value", false},  {"[", "{", false},
      {"@", "`", false},          {"\xC4", "\xE4", false},  // no folding beyond ASCII
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(NamesMatch(c.a, c.b), c.match);
    EXPECT_EQ(NamesMatch(c.b, c.a), c.match);
  }
}

TEST(SharedStringHolder, LetsGoWhenItGoesOutOfScope) {
  SharedString kept = MakeString("kept");
  {
    SharedStringHolder holder(ShareString(kept));
    EXPECT_EQ(ShareCountOf(kept), 1);
  }
  EXPECT_EQ(ShareCountOf(kept), 0);
  SharedStringHolder owner(kept);
  SharedString released = owner.release();
  EXPECT_EQ(owner.get().chars, nullptr);
  ReleaseString(released);
}
