// echotap-demo: a small audio host. Loads the plug-in by path, pulls a test signal (a click on the
// left, a click on the right, then a short tone) through it with the plug-in's creation defaults
// or a chosen delay, and writes input and output as 32-bit float WAV files.
//
//   echotap-demo <plug-in library> <output folder> [delay-ms-left delay-ms-right]
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "echotap.h"
#include "wav_writer.h"

namespace {

constexpr uint32_t kRate = 48000;
constexpr uint32_t kFrames = kRate * 2;
constexpr uint32_t kBlock = 1000;

struct ModuleCloser {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

template <typename Fn>
Fn Resolve(HMODULE module, const char* name) {
  FARPROC address = GetProcAddress(module, name);
  if (address == nullptr) {
    std::fprintf(stderr, "export %s not found\n", name);
    std::exit(1);
  }
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(address));
}

struct Signal {
  std::vector<double> left, right;
  size_t next = 0;
};

uint32_t ECHOTAP_CDECL ReadInput(EffectUserData userData, StreamBuffer* buffer) {
  Signal& signal = *reinterpret_cast<Signal*>(userData);
  uint32_t n = 0;
  for (; n < buffer->frames && signal.next < signal.left.size(); ++n, ++signal.next) {
    buffer->left[n] = signal.left[signal.next];
    if (buffer->right != nullptr) {
      buffer->right[n] = signal.right[signal.next];
    }
  }
  return n;
}

Signal TestSignal() {
  Signal s;
  s.left.assign(kFrames, 0.0);
  s.right.assign(kFrames, 0.0);
  s.left[kRate / 10] = 1.0;
  s.right[kRate / 2] = 1.0;
  for (uint32_t t = kRate; t < kRate + kRate / 20; ++t) {
    const double tone = 0.5 * std::sin(2.0 * 3.141592653589793 * 440.0 * t / kRate);
    s.left[t] = tone;
    s.right[t] = tone;
  }
  return s;
}

// Prints the frames where the output of one channel has its larger peaks.
void ReportPeaks(const char* channel, const std::vector<double>& y, uint32_t until) {
  std::printf("  %s:", channel);
  int shown = 0;
  for (uint32_t t = 0; t < until && shown < 6; ++t) {
    if (std::fabs(y[t]) >= 1e-5) {
      std::printf(" %.6g@%.1fms", y[t], 1000.0 * t / kRate);
      ++shown;
    }
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr,
                 "usage: %s <plug-in library> <output folder> [delay-ms-left delay-ms-right]\n",
                 argv[0]);
    return 2;
  }
  ModuleHandle plugin(LoadLibraryA(argv[1]));
  if (!plugin) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  auto plugInInfo = Resolve<int(ECHOTAP_CDECL*)(EffectInfo*)>(plugin.get(), "PlugInInfo");
  auto initialize = Resolve<int(ECHOTAP_CDECL*)(const char*, const char*, HKEY, EffectSettings**)>(
      plugin.get(), "Initialize");
  auto setCallback = Resolve<int(ECHOTAP_CDECL*)(StreamCallback, EffectUserData, EffectSettings*)>(
      plugin.get(), "SetStreamCallBack");
  auto openStream = Resolve<int(ECHOTAP_CDECL*)(EffectSettings*, const StreamFormat*)>(
      plugin.get(), "OpenStream");
  auto processStream = Resolve<uint32_t(ECHOTAP_CDECL*)(StreamBuffer*, EffectSettings*)>(
      plugin.get(), "ProcessStream");
  auto closeStream = Resolve<int(ECHOTAP_CDECL*)(EffectSettings*)>(plugin.get(), "CloseStream");
  auto freeBlock = Resolve<void(ECHOTAP_CDECL*)(EffectSettings*)>(plugin.get(), "Free");
  auto copySettings = Resolve<int(ECHOTAP_CDECL*)(EffectSettings**, const EffectSettings*)>(
      plugin.get(), "CopySettings");

  EffectInfo info{};
  info.size = sizeof info;
  if (plugInInfo(&info) != 1) {
    std::fprintf(stderr, "PlugInInfo refused the record\n");
    return 1;
  }
  std::printf("plug-in \"%s\" by \"%s\", version 0x%08X\n", info.name, info.maker,
              static_cast<unsigned>(info.version));

  EffectSettings* defaults = nullptr;
  initialize(nullptr, nullptr, nullptr, &defaults);
  if (defaults == nullptr) {
    std::fprintf(stderr, "Initialize gave no settings block\n");
    return 1;
  }
  EffectSettings* block = defaults;
  if (argc == 5) {
    // Delay times come from a preset; without one, an INI file written here carries them.
    std::string ini = std::string(argv[2]) + "/demo-preset.ini";
    std::FILE* f = std::fopen(ini.c_str(), "wb");
    if (f != nullptr) {
      std::fprintf(f, "[Delay]\r\nDelL=%s\r\nDelR=%s\r\nVolL=70\r\nVolR=70\r\n", argv[3], argv[4]);
      std::fclose(f);
    }
    EffectSettings* fromPreset = nullptr;
    initialize(ini.c_str(), "Delay", nullptr, &fromPreset);
    if (fromPreset != nullptr) {
      freeBlock(defaults);
      block = fromPreset;
    }
  }
  EffectSettings* copy = nullptr;
  copySettings(&copy, block);  // a host duplicating an instance: the copy is what we process

  Signal signal = TestSignal();
  std::vector<double> outLeft = signal.left, outRight = signal.right;
  setCallback(&ReadInput, reinterpret_cast<EffectUserData>(&signal), copy);
  StreamFormat format{3, 2, kRate};
  openStream(copy, &format);
  uint32_t done = 0;
  while (done < kFrames) {
    StreamBuffer buffer{std::min(kBlock, kFrames - done), outLeft.data() + done,
                        outRight.data() + done};
    const uint32_t got = processStream(&buffer, copy);
    if (got == 0) {
      break;
    }
    done += got;
  }
  closeStream(copy);
  freeBlock(copy);
  freeBlock(block);

  std::printf("processed %u frames at %u Hz\n", done, kRate);
  std::printf("clicks (left at 100 ms, right at 500 ms) and their echoes:\n");
  ReportPeaks("left ", outLeft, kRate);
  ReportPeaks("right", outRight, kRate);

  const std::string folder = argv[2];
  if (!WriteFloatWav(folder + "/input.wav", signal.left, signal.right, kRate) ||
      !WriteFloatWav(folder + "/output.wav", outLeft, outRight, kRate)) {
    std::fprintf(stderr, "cannot write the WAV files in %s\n", folder.c_str());
    return 1;
  }
  std::printf("wrote %s/input.wav and %s/output.wav\n", folder.c_str(), folder.c_str());
  return 0;
}
