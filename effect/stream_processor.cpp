#include "stream_processor.h"

#include <algorithm>

#include "effect_settings.h"

namespace {

// Share of each line's output fed back into it.
constexpr double kRecirculation = 0.01;

// One callback request of at most kMaxRequestFrames frames. The callback's answer is never trusted
// past the frames asked for: mixing more would write beyond the host's arrays.
uint32_t PullRequest(StreamBuffer& request, EffectSettings& block) {
  const StreamBuffer asked = request;
  block.scratch->record.frames = asked.frames;
  const uint32_t delivered = block.callback(block.userData, &request);
  const uint32_t frames = std::min(delivered, asked.frames);
  if (frames != 0) {
    MixFrames(asked, frames, block);
  }
  return frames;
}

}  // namespace

uint32_t DelayLineLength(uint32_t milliseconds, uint32_t sampleRate) {
  if (milliseconds == 0) {
    return 1;
  }
  return static_cast<uint32_t>(static_cast<uint64_t>(milliseconds) * sampleRate / 1000u);
}

void OpenEffectStream(EffectSettings& block, const StreamFormat& format) {
  CloseEffectStream(block);
  const bool stereo = format.channels == 2;
  block.lineL.Allocate(0.0, DelayLineLength(block.DelL, format.sampleRate));
  if (stereo) {
    block.lineR.Allocate(0.0, DelayLineLength(block.DelR, format.sampleRate));
  }
  block.scratch = StreamScratch::Create(stereo);
}

void CloseEffectStream(EffectSettings& block) {
  block.lineL.Release();
  block.lineR.Release();
  block.scratch.reset();
}

uint32_t PullFrames(StreamBuffer& buffer, EffectSettings& block) {
  if (!block.scratch || block.callback == nullptr || buffer.left == nullptr) {
    return 0;
  }
  if (buffer.frames <= kMaxRequestFrames) {
    // Short requests hand the host its own record.
    return PullRequest(buffer, block);
  }
  uint32_t produced = 0;
  while (produced < buffer.frames) {
    const uint32_t size = std::min(kMaxRequestFrames, buffer.frames - produced);
    StreamBuffer chunk{size, buffer.left + produced,
                       buffer.right != nullptr ? buffer.right + produced : nullptr};
    const uint32_t got = PullRequest(chunk, block);
    produced += got;
    if (got < size) {
      break;
    }
  }
  return produced;
}

void MixFrames(const StreamBuffer& buffer, uint32_t frames, EffectSettings& block) {
  const bool stereo = buffer.right != nullptr;
  for (uint32_t i = 0; i < frames; ++i) {
    const double xL = buffer.left[i];
    const double xR = stereo ? buffer.right[i] : 0.0;
    const double dL = block.lineL.Read();
    const double dR = stereo ? block.lineR.Read() : 0.0;
    block.lineL.Push(dL * kRecirculation + xL);
    if (stereo) {
      block.lineR.Push(dR * kRecirculation + xR);
    }
    double yL = dL * block.VolL;
    if (block.DisMain == 0) {
      yL = yL + xL * block.DryOut;
    }
    buffer.left[i] = yL;
    if (block.InvertL != 0) {
      buffer.left[i] = buffer.left[i] * -1.0;
    }
    if (stereo) {
      double yR = dR * block.VolR;
      if (block.DisMain == 0) {
        yR = yR + xR * block.DryOut;
      }
      buffer.right[i] = yR;
      if (block.InvertR != 0) {
        buffer.right[i] = buffer.right[i] * -1.0;
      }
    }
  }
}
