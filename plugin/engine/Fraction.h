#pragma once

#include <cmath>
#include <cstdint>

#include "plugin/engine/dsp/FloatVector.h"

// The whole part of x by truncation toward zero, for any size of x (floats of 2^23 and beyond are
// whole already); not-a-number stays as it is.
inline float wholePart(float x) {
  constexpr float allWhole = 8388608.0f;
  if (!(std::fabs(x) < allWhole)) return x;
  return static_cast<float>(static_cast<int32_t>(x));
}

// wholePart lane by lane.
inline FloatVector wholePart(FloatVector x) {
  const FloatVector truncated = _mm_cvtepi32_ps(_mm_cvttps_epi32(x.value));
  return select(lessThan(fastAbs(x), FloatVector(8388608.0f)), truncated, x);
}

// x minus its whole part (negative for negative x).
inline float fraction(float x) {
  return x - wholePart(x);
}
