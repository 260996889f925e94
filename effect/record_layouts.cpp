// The records that cross the plug-in boundary keep the byte layout 32-bit hosts were built against.
#include <cstddef>

#include "echotap.h"

#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(EffectInfo) == 24, "EffectInfo is 24 bytes");
static_assert(offsetof(EffectInfo, size) == 0, "EffectInfo.size");
static_assert(offsetof(EffectInfo, zero) == 4, "EffectInfo.zero");
static_assert(offsetof(EffectInfo, name) == 8, "EffectInfo.name");
static_assert(offsetof(EffectInfo, maker) == 12, "EffectInfo.maker");
static_assert(offsetof(EffectInfo, version) == 16, "EffectInfo.version");
static_assert(offsetof(EffectInfo, reserved) == 20, "EffectInfo.reserved");

static_assert(sizeof(StreamFormat) == 8, "StreamFormat is 8 bytes");
static_assert(offsetof(StreamFormat, channels) == 2, "StreamFormat.channels");
static_assert(offsetof(StreamFormat, sampleRate) == 4, "StreamFormat.sampleRate");

static_assert(sizeof(StreamBuffer) == 12, "StreamBuffer is 12 bytes");
static_assert(offsetof(StreamBuffer, frames) == 0, "StreamBuffer.frames");
static_assert(offsetof(StreamBuffer, left) == 4, "StreamBuffer.left");
static_assert(offsetof(StreamBuffer, right) == 8, "StreamBuffer.right");

static_assert(sizeof(EffectUserData) == 4, "the callback's user data is 32 bits");
#endif
