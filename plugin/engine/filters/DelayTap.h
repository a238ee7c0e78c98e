#pragma once

#include <cstdint>

#include "plugin/engine/dsp/FloatToInt.h"

// Reads a ring of 32768 elements at a fractional delay behind a write position, interpolating linearly
// between the two neighbouring elements; every position wraps with the ring's mask.
inline float readDelayTap(const float* ring, std::uint32_t write, float delay) {
  constexpr std::uint32_t mask = 0x7fffu;
  const std::int32_t whole = truncateToInt32(delay);
  const float fraction = delay - static_cast<float>(whole);
  const std::uint32_t index = write - static_cast<std::uint32_t>(whole);
  return (1.0f - fraction) * ring[index & mask] + fraction * ring[(index - 1u) & mask];
}

// A ring position stored in a state element, brought into the ring.
inline std::uint32_t ringPosition(float stored) {
  return static_cast<std::uint32_t>(truncateToInt32(stored)) & 0x7fffu;
}

// v minus its integer part.
inline float fractionOf(float v) {
  return v - static_cast<float>(truncateToInt32(v));
}
