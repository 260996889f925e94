#include "stream_scratch.h"

#include <new>

std::unique_ptr<StreamScratch> StreamScratch::Create(bool stereo) {
  std::unique_ptr<StreamScratch> scratch(new (std::nothrow) StreamScratch);
  if (!scratch) {
    return nullptr;
  }
  scratch->left.reset(new (std::nothrow) double[kFrames]());
  if (!scratch->left) {
    return nullptr;
  }
  if (stereo) {
    scratch->right.reset(new (std::nothrow) double[kFrames]());
    if (!scratch->right) {
      return nullptr;
    }
  }
  scratch->record = StreamBuffer{kFrames, scratch->left.get(), scratch->right.get()};
  return scratch;
}
