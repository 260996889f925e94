// The settings block a host holds between calls: the nine effect parameters, the two delay lines
// and the stream state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "delay_line.h"
#include "echotap.h"
#include "stream_scratch.h"

struct EffectSettings {
  double DryOut = 0.0;        // dry gain in both outputs (1.0 = unity)
  double VolL = 0.0;          // wet gain, left
  double VolR = 0.0;          // wet gain, right
  uint32_t DelL = 0;          // left delay, milliseconds
  uint32_t DelR = 0;          // right delay, milliseconds
  DelayLine lineL;            // sized by OpenStream
  DelayLine lineR;            // sized by OpenStream for two-channel streams only
  uint32_t HoldChannels = 0;  // kept with the preset; processing ignores it
  uint32_t InvertL = 0;       // non-zero: negate the left output
  uint32_t InvertR = 0;       // non-zero: negate the right output
  uint32_t DisMain = 0;       // non-zero: no dry signal in either output
  StreamCallback callback = nullptr;
  EffectUserData userData = 0;
  std::unique_ptr<StreamScratch> scratch;  // set exactly while a stream is open
};
