// A host's input side for stream tests: the callback copies frames from a prepared input signal
// and records the size of every request it was given.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "echotap.h"

struct ScriptedHost {
  std::vector<double> inputLeft;
  std::vector<double> inputRight;
  size_t next = 0;                       // next input frame to deliver
  std::vector<uint32_t> requests;        // frames asked for, per callback call
  std::vector<uint32_t> deliveryLimits;  // per call: deliver at most this many (default: all asked)
  uint32_t overstate = 0;                // frames added to the answer beyond what was delivered

  static uint32_t ECHOTAP_CDECL Callback(EffectUserData userData, StreamBuffer* buffer) {
    return reinterpret_cast<ScriptedHost*>(userData)->Deliver(*buffer);
  }

  EffectUserData UserData() { return reinterpret_cast<EffectUserData>(this); }

  uint32_t Deliver(StreamBuffer& buffer) {
    const size_t call = requests.size();
    requests.push_back(buffer.frames);
    uint32_t limit =
        call < deliveryLimits.size() ? deliveryLimits[call] : std::numeric_limits<uint32_t>::max();
    const size_t available = inputLeft.size() - next;
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(
        {static_cast<size_t>(buffer.frames), static_cast<size_t>(limit), available}));
    for (uint32_t i = 0; i < n; ++i) {
      buffer.left[i] = inputLeft[next + i];
      if (buffer.right != nullptr) {
        buffer.right[i] = next + i < inputRight.size() ? inputRight[next + i] : 0.0;
      }
    }
    next += n;
    return n + overstate;
  }
};
