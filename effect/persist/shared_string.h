// Operations on SharedString, the host's string record (layout and share-count rules in
// echotap_presets.h). Storage comes from the shared heap. Every operation either completes or, when
// it throws, leaves its records as they were.
//
// Errors: a string longer than kMaxStringLength raises std::length_error("string too long"); a
// character position past the end raises std::out_of_range("invalid string position"); storage
// that cannot be had raises std::bad_alloc.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "echotap_presets.h"

constexpr uint32_t kMaxStringLength = 4294967293u;
// Share count of storage that one holder changes in place and never shares.
constexpr uint8_t kUnshareable = 255;

// The characters; a null `chars` reads as "".
std::string_view View(const SharedString& text);

// A new string holding `text` in storage of its own (no storage when `text` is empty).
SharedString MakeString(std::string_view text);
// A new string of `length` characters in storage of its own, each one `fill`.
SharedString MakeFilledString(uint64_t length, char fill);

// A new record that copies `source`: shares its storage when the share count allows, else holds
// storage of its own; the copy of an empty string has none.
SharedString ShareString(const SharedString& source);

// Replaces `target` with a copy of `source` (ShareString), letting go of what `target` held.
void AssignString(SharedString& target, const SharedString& source);

// Replaces `target` with `text` in storage of its own, letting go of what `target` held.
void AssignText(SharedString& target, std::string_view text);

// Lets go of the storage (freeing it when this was its last holder) and leaves an empty string.
void ReleaseString(SharedString& text) noexcept;

// The share count byte of non-empty storage.
uint8_t& ShareCountOf(const SharedString& text);

// A writable view from `position` on: the storage becomes the string's own and is marked
// kUnshareable first. Null for a string without storage.
char* MutableChars(SharedString& text, uint32_t position);

// ASCII letters match regardless of case; nothing else is folded.
bool NamesMatch(std::string_view a, std::string_view b);

// Owns one SharedString record and lets go of it when it goes out of scope.
class SharedStringHolder {
 public:
  explicit SharedStringHolder(SharedString text = SharedString{}) : text_(text) {}
  SharedStringHolder(const SharedStringHolder&) = delete;
  SharedStringHolder& operator=(const SharedStringHolder&) = delete;
  ~SharedStringHolder() { ReleaseString(text_); }

  SharedString& get() { return text_; }
  const SharedString& get() const { return text_; }
  // Hands the record over; the holder is left empty.
  SharedString release() { return std::exchange(text_, SharedString{}); }

 private:
  SharedString text_;
};
