#pragma once

#include <cstdint>

#include "plugin/engine/dsp/FloatToInt.h"

// Every ring of a filter state (the delay lines' and the reverb's) has 32768 elements; positions wrap with
// this mask.
constexpr std::uint32_t kFilterRingMask = 0x7fffu;

// Reads a ring at a fractional delay behind a write position, interpolating linearly between the two
// neighbouring elements.
inline float readDelayTap(const float* ring, std::uint32_t write, float delay) {
  const std::int32_t whole = truncateToInt32(delay);
  const float fraction = delay - static_cast<float>(whole);
  const std::uint32_t index = write - static_cast<std::uint32_t>(whole);
  return (1.0f - fraction) * ring[index & kFilterRingMask] + fraction * ring[(index - 1u) & kFilterRingMask];
}

// A ring position stored in a state element, brought into the ring.
inline std::uint32_t ringPosition(float stored) {
  return static_cast<std::uint32_t>(truncateToInt32(stored)) & kFilterRingMask;
}
