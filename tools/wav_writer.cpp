#include "wav_writer.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void PutU32(std::vector<unsigned char>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void PutU16(std::vector<unsigned char>& out, uint16_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void PutTag(std::vector<unsigned char>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

}  // namespace

bool WriteFloatWav(const std::string& path, const std::vector<double>& left,
                   const std::vector<double>& right, uint32_t sampleRate) {
  const uint32_t frames = static_cast<uint32_t>(left.size());
  const uint32_t dataBytes = frames * 2 * 4;
  std::vector<unsigned char> out;
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 3);  // IEEE float
  PutU16(out, 2);
  PutU32(out, sampleRate);
  PutU32(out, sampleRate * 8);
  PutU16(out, 8);
  PutU16(out, 32);
  PutTag(out, "data");
  PutU32(out, dataBytes);
  for (uint32_t t = 0; t < frames; ++t) {
    for (double sample : {left[t], right[t]}) {
      const float f = static_cast<float>(sample);
      unsigned char bytes[4];
      __builtin_memcpy(bytes, &f, 4);
      out.insert(out.end(), bytes, bytes + 4);
    }
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  return file && std::fwrite(out.data(), 1, out.size(), file.get()) == out.size();
}
