#include "binary_text.h"

#include <cstring>
#include <vector>

namespace {

const char kHexDigits[] = "0123456789ABCDEF";
constexpr size_t kHeaderBytes = 8;

void AppendByte(std::string& text, uint8_t byte) {
  text += kHexDigits[byte >> 4];
  text += kHexDigits[byte & 0x0F];
}

void AppendLittleEndian(std::string& text, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    AppendByte(text, static_cast<uint8_t>(value >> (8 * i)));
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

uint32_t ByteSum(const uint8_t* data, size_t size) {
  uint32_t sum = 0;
  for (size_t i = 0; i < size; ++i) {
    sum += data[i];
  }
  return sum;
}

uint32_t LittleEndian(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

}  // namespace

std::string EncodeBinary(const void* data, uint32_t size) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  std::string text;
  AppendLittleEndian(text, size);
  AppendLittleEndian(text, ByteSum(bytes, size));
  for (uint32_t i = 0; i < size; ++i) {
    AppendByte(text, bytes[i]);
  }
  return text;
}

bool DecodeBinary(const char* text, void* buffer, uint32_t size) {
  if (text == nullptr) {
    text = "";
  }
  const size_t length = std::strlen(text);
  // In 64 bits: on the 32-bit target the header plus a size near 4 GiB would wrap around.
  if (length % 2 != 0 || uint64_t{length / 2} != kHeaderBytes + uint64_t{size}) {
    return false;
  }
  std::vector<uint8_t> bytes(length / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int high = HexValue(text[2 * i]);
    const int low = HexValue(text[2 * i + 1]);
    if (high < 0 || low < 0) {
      return false;
    }
    bytes[i] = static_cast<uint8_t>(high * 16 + low);
  }
  const uint8_t* data = bytes.data() + kHeaderBytes;
  if (LittleEndian(bytes.data()) != size || LittleEndian(bytes.data() + 4) != ByteSum(data, size)) {
    return false;
  }
  if (size != 0) {
    std::memcpy(buffer, data, size);
  }
  return true;
}
