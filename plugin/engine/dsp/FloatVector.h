#pragma once

#include <emmintrin.h>

#include <limits>

// Four single-precision lanes (SSE2, which every x64 processor has) with the operations the engine
// needs. Each lane gives exactly the result of the same operation on a single float, so a kernel that
// runs channels or samples side by side in the lanes sounds the same as one that runs them one by one.
class FloatVector {
 public:
  FloatVector() : value(_mm_setzero_ps()) {}
  FloatVector(__m128 value) : value(value) {}
  explicit FloatVector(float all) : value(_mm_set1_ps(all)) {}

  // Lanes 0 and 1 from two floats, the other lanes 0.
  static FloatVector pair(float lane0, float lane1) {
    return _mm_unpacklo_ps(_mm_set_ss(lane0), _mm_set_ss(lane1));
  }
  static FloatVector load(const float* from) { return _mm_loadu_ps(from); }
  void store(float* to) const { _mm_storeu_ps(to, value); }
  // Lanes 0 and 1 from and to two adjacent floats (the other lanes loaded as 0).
  // (__m128i may alias any type: the floats stay visible to the compiler as floats.)
  static FloatVector loadPair(const float* from) {
    return _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(from)));
  }
  void storePair(float* to) const {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(to), _mm_castps_si128(value));
  }

  float lane0() const { return _mm_cvtss_f32(value); }
  float lane1() const { return _mm_cvtss_f32(_mm_shuffle_ps(value, value, _MM_SHUFFLE(1, 1, 1, 1))); }
  // Lanes 0 and 1 exchanged.
  FloatVector swapped() const { return _mm_shuffle_ps(value, value, _MM_SHUFFLE(2, 3, 0, 1)); }

  __m128 value;
};

inline FloatVector operator+(FloatVector a, FloatVector b) {
  return _mm_add_ps(a.value, b.value);
}
inline FloatVector operator-(FloatVector a, FloatVector b) {
  return _mm_sub_ps(a.value, b.value);
}
inline FloatVector operator*(FloatVector a, FloatVector b) {
  return _mm_mul_ps(a.value, b.value);
}
inline FloatVector operator/(FloatVector a, FloatVector b) {
  return _mm_div_ps(a.value, b.value);
}

// The lanes of a where mask is set, else those of b.
inline FloatVector select(FloatVector mask, FloatVector a, FloatVector b) {
  return _mm_or_ps(_mm_and_ps(mask.value, a.value), _mm_andnot_ps(mask.value, b.value));
}
inline FloatVector lessThan(FloatVector a, FloatVector b) {
  return _mm_cmplt_ps(a.value, b.value);
}
inline FloatVector greaterThan(FloatVector a, FloatVector b) {
  return _mm_cmpgt_ps(a.value, b.value);
}
// a < b ? a : b and a > b ? a : b, lane by lane (so b where a is NaN).
inline FloatVector lesserOf(FloatVector a, FloatVector b) {
  return _mm_min_ps(a.value, b.value);
}
inline FloatVector greaterOf(FloatVector a, FloatVector b) {
  return _mm_max_ps(a.value, b.value);
}
// Bit n set for each lane n of a mask that is set.
inline int laneBits(FloatVector mask) {
  return _mm_movemask_ps(mask.value);
}

// fastAbs and clip of FastMath.h, lane by lane.
inline FloatVector fastAbs(FloatVector x) {
  return _mm_and_ps(x.value, _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff)));
}
inline FloatVector clip(FloatVector x, FloatVector lo, FloatVector hi) {
  return (fastAbs(x - lo) - fastAbs(x - hi) + lo + hi) * FloatVector(0.5f);
}
// Lanes that are neither infinite nor NaN.
inline FloatVector isFinite(FloatVector x) {
  return lessThan(fastAbs(x), FloatVector(std::numeric_limits<float>::infinity()));
}
