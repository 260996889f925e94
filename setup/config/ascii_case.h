// Names of sections and keys are matched with ASCII letters compared regardless of case: A to Z and
// a to z match each other, every other byte must be equal. No locale takes part, so names in any
// code page compare the same on every machine.
#pragma once

#include <cstddef>

// Null counts as the empty name.
bool EqualsIgnoringAsciiCase(const char* a, const char* b);
// True when `text` begins with `prefix` (compared as above).
bool StartsWithIgnoringAsciiCase(const char* text, const char* prefix);
