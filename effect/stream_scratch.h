// The request record an open stream owns: 4096 frames, one array per channel of the stream.
#pragma once

#include <cstdint>
#include <memory>

#include "echotap.h"

struct StreamScratch {
  static constexpr uint32_t kFrames = 4096;

  // Null when the memory cannot be had.
  static std::unique_ptr<StreamScratch> Create(bool stereo);

  StreamBuffer record{};
  std::unique_ptr<double[]> left;
  std::unique_ptr<double[]> right;
};
