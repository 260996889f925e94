// One channel's delay line: a ring of doubles whose oldest sample is read, then overwritten.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

class DelayLine {
 public:
  // Lines longer than this are refused: 2^28 doubles are 2 GiB, more than a 32-bit process can
  // hold.
  static constexpr uint32_t kMaxLength = 1u << 28;

  DelayLine() = default;
  DelayLine(const DelayLine&) = delete;
  DelayLine& operator=(const DelayLine&) = delete;
  virtual ~DelayLine() = default;

  // Replaces the storage with `length` silent samples (0 counts as 1). When the storage cannot be
  // had, the line is left empty, reads silence and ignores pushes; the result says which.
  bool Allocate(double coefficient, uint32_t length);
  void Release();

  // Oldest sample; silence for an empty line. Does not advance.
  double Read() const { return samples_ ? samples_.get()[position_] : 0.0; }

  // Overwrites the oldest sample with feedback * oldest + x and advances, wrapping at the end.
  void Push(double x) {
    if (!samples_) {
      return;
    }
    double& slot = samples_.get()[position_];
    slot = feedback_ * slot + x;
    if (++position_ == length_) {
      position_ = 0;
    }
  }

  uint32_t length() const { return length_; }
  uint32_t position() const { return position_; }
  double feedback() const { return feedback_; }

 private:
  struct FreeSamples {
    void operator()(double* p) const { std::free(p); }
  };

  double feedback_ = 0.0;
  std::unique_ptr<double, FreeSamples> samples_;
  uint32_t position_ = 0;
  uint32_t length_ = 0;
};
