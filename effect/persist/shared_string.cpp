#include "shared_string.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "shared_heap.h"

namespace {

// The block starts one byte before the characters, with the share count.
uint8_t* BlockOf(char* chars) { return reinterpret_cast<uint8_t*>(chars) - 1; }

void ThrowIfTooLong(uint64_t length) {
  if (length > kMaxStringLength) {
    throw std::length_error("string too long");
  }
}

// Storage for `capacity` characters with share count 0, the characters not yet set.
char* AllocateStorage(uint32_t capacity) {
  auto* block = static_cast<uint8_t*>(SharedAllocate(static_cast<std::size_t>(capacity) + 2));
  if (block == nullptr) {
    throw std::bad_alloc();
  }
  block[0] = 0;
  return reinterpret_cast<char*>(block + 1);
}

// `text` in storage of its own, also when it is empty.
SharedString OwnStorage(std::string_view text, uint8_t allocatorTag) {
  ThrowIfTooLong(text.size());
  const auto length = static_cast<uint32_t>(text.size());
  SharedString copy{};
  copy.allocatorTag = allocatorTag;
  copy.chars = AllocateStorage(length);
  if (length != 0) {
    std::memcpy(copy.chars, text.data(), length);
  }
  copy.chars[length] = '\0';
  copy.length = length;
  copy.capacity = length;
  return copy;
}

// `text` in storage of its own; an empty text has none.
SharedString OwnCopy(std::string_view text, uint8_t allocatorTag) {
  if (text.empty()) {
    SharedString empty{};
    empty.allocatorTag = allocatorTag;
    return empty;
  }
  return OwnStorage(text, allocatorTag);
}

}  // namespace

std::string_view View(const SharedString& text) {
  if (text.chars == nullptr) {
    return {};
  }
  return {text.chars, text.length};
}

SharedString MakeString(std::string_view text) { return OwnCopy(text, 0); }

SharedString MakeFilledString(uint64_t length, char fill) {
  ThrowIfTooLong(length);
  SharedString text{};
  if (length == 0) {
    return text;
  }
  const auto count = static_cast<uint32_t>(length);
  text.chars = AllocateStorage(count);
  std::memset(text.chars, fill, count);
  text.chars[count] = '\0';
  text.length = count;
  text.capacity = count;
  return text;
}

uint8_t& ShareCountOf(const SharedString& text) { return *BlockOf(text.chars); }

SharedString ShareString(const SharedString& source) {
  if (source.chars == nullptr || source.length == 0) {
    SharedString empty{};
    empty.allocatorTag = source.allocatorTag;
    return empty;
  }
  uint8_t& count = ShareCountOf(source);
  if (count >= kUnshareable - 1) {
    // 254 means 255 holders already, and 255 storage that is never shared.
    return OwnCopy(View(source), source.allocatorTag);
  }
  ++count;
  return source;
}

void AssignString(SharedString& target, const SharedString& source) {
  // Copy first: `source` may share storage with `target`, or be `target`.
  SharedString copy = ShareString(source);
  copy.allocatorTag = target.allocatorTag;
  ReleaseString(target);
  target = copy;
}

void AssignText(SharedString& target, std::string_view text) {
  SharedString copy = OwnCopy(text, target.allocatorTag);
  ReleaseString(target);
  target = copy;
}

void ReleaseString(SharedString& text) noexcept {
  if (text.chars != nullptr) {
    uint8_t& count = ShareCountOf(text);
    if (count == 0 || count == kUnshareable) {
      SharedFree(BlockOf(text.chars));
    } else {
      --count;
    }
  }
  text.chars = nullptr;
  text.length = 0;
  text.capacity = 0;
}

char* MutableChars(SharedString& text, uint32_t position) {
  if (position > text.length) {
    throw std::out_of_range("invalid string position");
  }
  if (text.chars == nullptr) {
    return nullptr;
  }
  uint8_t& count = ShareCountOf(text);
  if (count != 0 && count != kUnshareable) {
    SharedString own = OwnStorage(View(text), text.allocatorTag);
    --count;
    text = own;
  }
  ShareCountOf(text) = kUnshareable;
  return text.chars + position;
}

bool NamesMatch(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (fold(a[i]) != fold(b[i])) {
      return false;
    }
  }
  return true;
}
