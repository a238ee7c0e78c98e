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

// v limited to 0..1, a non-finite v counting as 0: a parameter value as the sound uses it.
inline float unitOrZero(float v) {
  return limitTo(finiteOrZero(v), 0.0f, 1.0f);
}
