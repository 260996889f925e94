// Binary values as the configuration document stores them: upper-case hexadecimal digit pairs for
// a header of the data size and the byte sum (each four bytes, little-endian), then the data bytes.
// Three bytes 01 02 FF are stored as 03000000020100000102FF.
#pragma once

#include <cstdint>
#include <string>

std::string EncodeBinary(const void* data, uint32_t size);

// Fills `buffer` with exactly `size` bytes and answers true when `text` is a well-formed encoding
// of that many bytes (either letter case) whose header holds that size and their byte sum.
// Otherwise answers false and leaves the buffer as it was, so a damaged value never reaches the
// caller half-copied. A null `text` reads as "".
bool DecodeBinary(const char* text, void* buffer, uint32_t size);
