// The signal path: opening and closing a block's stream and pulling processed audio through it.
// PullFrames and MixFrames run on the host's audio thread and allocate nothing.
#pragma once

#include <cstdint>

#include "echotap.h"

struct EffectSettings;

// Frames per callback request; longer requests are split into chunks of this size.
constexpr uint32_t kMaxRequestFrames = 4096;

// Line length for a delay in milliseconds at a sample rate: d * r / 1000 in unsigned 64-bit
// arithmetic, low 32 bits kept; a delay of 0 gives 1.
uint32_t DelayLineLength(uint32_t milliseconds, uint32_t sampleRate);

// Closes any open stream, sizes the lines (the right one for two channels only) and creates the
// request record. When the record's memory cannot be had the stream stays closed.
void OpenEffectStream(EffectSettings& block, const StreamFormat& format);
void CloseEffectStream(EffectSettings& block);

// Asks the host's callback for buffer.frames input frames and mixes what it delivers in place.
// Returns the frames produced. 0 without an open stream or a callback.
uint32_t PullFrames(StreamBuffer& buffer, EffectSettings& block);

// Replaces `frames` input frames with the effect's output, advancing the delay lines. The right
// channel is processed when buffer.right is not null.
void MixFrames(const StreamBuffer& buffer, uint32_t frames, EffectSettings& block);
