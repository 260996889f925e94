// An independent per-frame model of the delay mix, for bit-for-bit comparison with the plug-in.
// It keeps each channel's whole history instead of a ring: the line's output at frame t is the
// value it took in at frame t - L (silence before the first L frames).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ReferenceChannel {
  uint32_t length;             // line length L in samples, at least 1
  std::vector<double> stored;  // everything the line took in, one value per frame

  explicit ReferenceChannel(uint32_t lineLength) : length(lineLength) {}

  // One frame: returns the output sample for input x.
  double Step(double x, double wetGain, double dryGain, bool dryRemoved, bool inverted) {
    const size_t t = stored.size();
    const double delayed = t >= length ? stored[t - length] : 0.0;
    // The slot being overwritten holds `delayed`; the line's feedback factor is 0.0.
    stored.push_back(0.0 * delayed + (delayed * 0.01 + x));
    double y = delayed * wetGain;
    if (!dryRemoved) {
      y = y + x * dryGain;
    }
    return inverted ? y * -1.0 : y;
  }
};
