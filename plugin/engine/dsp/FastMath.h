#pragma once

#include <cstdint>
#include <cstring>

#include "plugin/engine/dsp/FloatToInt.h"
#include "plugin/engine/dsp/FloatVector.h"

// The plug-in's fast arithmetic. Their exact results are part of the sound (every filter, LFO and distortion
// calls them) and of what the editor shows, so they are computed bit for bit as described at each routine;
// they are not general-purpose replacements of the library's functions.

// x with its sign bit cleared (also for -0 and NaN).
inline float fastAbs(float x) {
  std::uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  bits &= 0x7fffffffu;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// x limited to lo..hi (for lo <= hi) without a comparison: (|x - lo| - |x - hi| + lo + hi) * 0.5.
inline float clip(float x, float lo, float hi) {
  return (fastAbs(x - lo) - fastAbs(x - hi) + lo + hi) * 0.5f;
}

// e^x approximated as 2^(1.4408 x) with a quadratic mantissa: 2^floor(y) * (1 + 0.75 f + 0.25 f^2) for
// y = 1.4408 x, f = y - floor(y). Callers pass a float widened to double and keep y within -1022..1023.
float fastExp(double x);

// The odd polynomial of fastSine and fastCosine for an angle w in -pi..pi (float, or lanes).
template <typename T>
T sinePolynomial(T w) {
  const T z = w * w;
  T p(-2.39e-8f);
  p = p * z + T(2.7526e-6f);
  p = p * z - T(0.000198409f);
  p = p * z + T(0.008333332f);
  p = p * z - T(0.16666667f);
  p = p * z + T(1.0f);
  return p * w;
}

// The angle of a signed 32-bit phase that covers -pi..pi.
constexpr float phaseToRadians = 1.462918119976564e-09f;  // pi / 2^31
constexpr float radiansToPhase = 683565248.0f;            // 2^31 / pi

// sin(x) for x in -pi..pi with the angle quantised to 2^32 steps per turn; beyond about pi the value at -pi.
inline float fastSine(float x) {
  return sinePolynomial(static_cast<float>(truncateToInt32(x * radiansToPhase)) * phaseToRadians);
}

// fastSine lane by lane (the processor's truncation gives the same lowest value out of range).
inline FloatVector fastSine(FloatVector x) {
  const __m128i phase = _mm_cvttps_epi32((x * FloatVector(radiansToPhase)).value);
  return sinePolynomial(FloatVector(_mm_cvtepi32_ps(phase)) * FloatVector(phaseToRadians));
}

// cos(x) for x in -pi..pi by a quarter turn added to the integer phase; beyond about pi the value at -pi/2.
float fastCosine(float x);

// A soft saturation of x: u / (|u| * k + 1) * 10000 with u = x * 0.0001 * (k + 1). T is float, or a
// vector type whose lanes compute as floats do.
template <typename T>
T softSaturate(T x, T k) {
  const T u = x * T(0.0001f) * (k + T(1.0f));
  return u / (fastAbs(u) * k + T(1.0f)) * T(10000.0f);
}
