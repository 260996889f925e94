#include "delay_line.h"

bool DelayLine::Allocate(double coefficient, uint32_t length) {
  Release();
  if (length == 0) {
    length = 1;
  }
  if (length > kMaxLength) {
    return false;
  }
  // calloc checks length * 8 for overflow and gives zeroed (silent) storage.
  samples_.reset(static_cast<double*>(std::calloc(length, sizeof(double))));
  if (!samples_) {
    return false;
  }
  feedback_ = coefficient;
  position_ = 0;
  length_ = length;
  return true;
}

void DelayLine::Release() {
  samples_.reset();
  feedback_ = 0.0;
  position_ = 0;
  length_ = 0;
}
