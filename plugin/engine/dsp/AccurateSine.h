#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

// The single-precision sine of x as the library computes it (the exact sine rounded to a float), without
// the library's call: the angle is reduced by quarter turns in double precision and the sine or cosine of
// the rest (at most a little over pi/4) summed from its series, so the double result lies within about
// 1e-16 of the exact sine before it is rounded. Angles beyond 2^20 radians, non-finite ones and zeros (whose
// sign the series would lose) go to the library.
inline float accurateSine(float x) {
  constexpr double largestReduced = 1048576.0;
  if (!(std::fabs(x) < largestReduced) || x == 0.0f) return std::sin(x);
  // pi/2 in three parts of 33 bits: k times each part is exact for k below 2^20.
  constexpr double halfPi1 = 1.57079632673412561417e+00;
  constexpr double halfPi2 = 6.07710050630396597660e-11;
  constexpr double halfPi3 = 2.02226624871116645580e-21;
  constexpr double twoOverPi = 6.36619772367581382433e-01;
  // Adding 1.5 x 2^52 rounds to a whole number, which then sits in the low bits of the sum.
  constexpr double roundingShift = 6755399441055744.0;
  const double angle = x;
  const double shifted = angle * twoOverPi + roundingShift;
  const double k = shifted - roundingShift;
  std::uint64_t bits;
  std::memcpy(&bits, &shifted, sizeof bits);
  const unsigned quadrant = static_cast<unsigned>(bits) & 3u;
  const double r = ((angle - k * halfPi1) - k * halfPi2) - k * halfPi3;
  const double z = r * r;
  // Taylor series to the 17th and the 16th power; the first left-out terms are below 1e-17 for |r| < 0.8.
  constexpr double sineTerms[] = {
      1.0 / 355687428096000.0, -1.0 / 1307674368000.0, 1.0 / 6227020800.0, -1.0 / 39916800.0,
      1.0 / 362880.0,          -1.0 / 5040.0,          1.0 / 120.0,        -1.0 / 6.0};
  constexpr double cosineTerms[] = {
      1.0 / 20922789888000.0, -1.0 / 87178291200.0, 1.0 / 479001600.0, -1.0 / 3628800.0,
      1.0 / 40320.0,          -1.0 / 720.0,         1.0 / 24.0,        -1.0 / 2.0};
  double sineSum = 0.0;
  for (double term : sineTerms) sineSum = sineSum * z + term;
  double cosineSum = 0.0;
  for (double term : cosineTerms) cosineSum = cosineSum * z + term;
  const double sine = r + r * z * sineSum;
  const double cosine = 1.0 + z * cosineSum;
  const double value = (quadrant & 1u) ? cosine : sine;
  return static_cast<float>((quadrant & 2u) ? -value : value);
}
