// Section names and keys become XML element names and back. Letters stay as they are, digits too
// unless they open the name; every other byte, "_" included, is written as "_" and two upper-case
// hexadecimal digits: "my key" is my_20key, "a_b" is a_5Fb, "2nd" is _32nd.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Encoded and decoded names are built in 1024-byte buffers, NUL included, so a name has an element
// form only when that form has at most this many bytes.
constexpr size_t kMaxElementNameLength = 1023;

// The element name for `name`; none for an empty or null name, and none when the encoded form would
// be longer than kMaxElementNameLength (a cut name would stand for another name when read back).
std::optional<std::string> EncodeName(const char* name);

// The name an element name stands for: "_" and two hexadecimal digits (either case) give that byte;
// an "_" not followed by two hexadecimal digits stays itself. None for an empty or null element
// name, for one that holds "_00" (a NUL byte would cut the name short), and when the decoded name
// would be longer than kMaxElementNameLength.
std::optional<std::string> DecodeName(const char* elementName);
