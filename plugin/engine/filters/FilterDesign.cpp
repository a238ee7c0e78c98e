#include "plugin/engine/filters/FilterDesign.h"

#include <cmath>

#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/ValueLimits.h"

namespace {

constexpr float kPi = 3.14159f;
constexpr float kTwoPi = 6.28318f;
constexpr float kOctaveBandwidth = 2.177586f;  // ln 2 / 2 * 2 pi

struct Coefficients {
  float b0, b1, b2, a1, a2;
};

Coefficients lowPass(float f, float q) {
  const float k = std::tan(kPi * f * (1.1f - 0.15f * q));
  const float resonance = 0.75f * fastExp(5.0f * (q * q));
  const float k2 = k * k;
  const float n = 1.0f + k / resonance + k2;
  return {k2 / n, 2.0f * k2 / n, k2 / n, -2.0f * (k2 - 1.0f) / n, -(1.0f - k / resonance + k2) / n};
}

Coefficients highPass(float f, float q) {
  const float k = std::tan(kTwoPi * f * 0.5f);
  const float resonance = 6.0f * (q * q) + 0.2f;
  const float k2 = k * k;
  const float n = 1.0f + k / resonance + k2;
  return {(1.0f + k / resonance) / n, -2.0f / n, (1.0f - k / resonance) / n, -2.0f * (k2 - 1.0f) / n,
          -(1.0f - k / resonance + k2) / n};
}

Coefficients bandPass(float f, float q) {
  const float w = kTwoPi * f;
  const float g = fastExp(22.0f * (f * f * f)) * fastSine(w);
  const float alpha = std::sinh((2.0f - 1.9f * q) * kOctaveBandwidth * f / g) * g;
  const float n = 1.0f + alpha;
  return {0.5f * g / n, 0.0f, -0.5f * g / n, 2.0f * fastCosine(w) / n, -(1.0f - alpha) / n};
}

Coefficients allPass(float f, float q) {
  const float w = kTwoPi * f;
  const float s = fastSine(w);
  const float alpha = std::sinh((1.0f - 0.999f * std::sqrt(q)) * kOctaveBandwidth * f / s) * s;
  const float n = 1.0f + alpha;
  const float c = fastCosine(w);
  return {(1.0f - alpha) / n, -2.0f * c / n, n / n, 2.0f * c / n, -(1.0f - alpha) / n};
}

// Peak or notch: boost n / d at the centre frequency.
Coefficients peaking(float f, float numerator, float denominator) {
  const float k = std::tan(kPi * f);
  const float k2 = k * k;
  const float n = 1.0f + denominator * k + k2;
  return {(1.0f + numerator * k + k2) / n, 2.0f * (k2 - 1.0f) / n, (1.0f - numerator * k + k2) / n,
          -2.0f * (k2 - 1.0f) / n, -(1.0f - denominator * k + k2) / n};
}

Coefficients lowShelf(float f, float q) {
  const float a = std::pow(2.0f, q);
  const float w = kTwoPi * f;
  const float c = fastCosine(w);
  const float beta = fastSine(w) * std::sqrt(a + a);
  const float a0 = (a + 1.0f) + (a - 1.0f) * c + beta;
  return {a * ((a + 1.0f) - (a - 1.0f) * c + beta) / a0, 2.0f * a * ((a - 1.0f) - (a + 1.0f) * c) / a0,
          a * ((a + 1.0f) - (a - 1.0f) * c - beta) / a0, 2.0f * ((a - 1.0f) + (a + 1.0f) * c) / a0,
          -((a + 1.0f) + (a - 1.0f) * c - beta) / a0};
}

Coefficients highShelf(float f, float q) {
  const float a = std::pow(2.0f, q);
  const float w = kTwoPi * f;
  const float c = fastCosine(w);
  const float beta = fastSine(w) * std::sqrt(a + a);
  const float a0 = (a + 1.0f) - (a - 1.0f) * c + beta;
  return {a * ((a + 1.0f) + (a - 1.0f) * c + beta) / a0, -2.0f * a * ((a - 1.0f) + (a + 1.0f) * c) / a0,
          a * ((a + 1.0f) + (a - 1.0f) * c - beta) / a0, -2.0f * ((a - 1.0f) - (a + 1.0f) * c) / a0,
          -((a + 1.0f) - (a - 1.0f) * c - beta) / a0};
}

Coefficients design(std::int32_t mode, float f, float q) {
  switch (mode) {
    case 0:
    case 1:
      return lowPass(f, q);
    case 2:
      return highPass(f, q);
    case 3:
      return bandPass(f, q);
    case 4:
      return peaking(f, 9.0f / fastExp(3.0f * q), 1.0f / fastExp(3.0f * q));
    case 5:
      return peaking(f, 18.0f / fastExp(3.0f * q), 1.0f / fastExp(3.0f * q));
    case 6:
      return peaking(f, 1.0f / fastExp(3.0f * q), 18.0f / fastExp(3.0f * q));
    case 7:
      return lowShelf(f, q);
    case 8:
      return highShelf(f, q);
    case 9:
      return peaking(f, fastExp(3.0f * q) / 4.0f, 1.0f / 4.0f);
    case 10:
      return peaking(f, fastExp(3.0f * q) / 10.0f, 1.0f / 10.0f);
    case 11:
      return allPass(f, q);
    case 12:
      return peaking(f, fastExp(5.0f * (q * q)), 1.0f);
    default:
      return {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  }
}

}  // namespace

float normalisedFrequency(float cutoff, std::int32_t sampleRate) {
  return fastExp(-6.0f * (1.0f - cutoff)) * 0.45f / static_cast<float>(sampleRate) * 44100.0f;
}

void designFilterCoefficients(std::int32_t mode, float cutoff, float q, float* b0, float* b1, float* b2,
                              float* a1, float* a2, std::int32_t sampleRate) {
  const float f = limitTo(normalisedFrequency(finiteOrZero(cutoff), sampleRate), 0.0001f, 0.45f);
  const Coefficients c = design(mode, f, unitOrZero(q));
  *b0 = c.b0;
  *b1 = c.b1;
  *b2 = c.b2;
  *a1 = c.a1;
  *a2 = c.a2;
}
