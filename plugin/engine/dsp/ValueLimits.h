#pragma once

#include <cmath>

// A non-finite value (from host automation or a broken modulation) counts as 0.
inline float finiteOrZero(float v) {
  return std::isfinite(v) ? v : 0.0f;
}

// v limited to lo..hi (for finite v).
inline float limitTo(float v, float lo, float hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}
