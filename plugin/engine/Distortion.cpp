#include "plugin/engine/Distortion.h"

#include <algorithm>
#include <cmath>

#include "plugin/engine/Fraction.h"
#include "plugin/engine/dsp/FastMath.h"

namespace {

constexpr float h1 = 0.1074f;
constexpr float h3 = 0.183f;
constexpr float h5 = 0.6264f;

// The half-band sum around position n of a 16-entry ring.
float halfBand(const float* ring, int32_t n) {
  const auto at = [ring, n](int32_t offset) { return ring[(n + offset) & 15]; };
  return (at(-4) + at(2)) * h1 - (at(-6) + at(4)) * h3 + (at(-8) + at(6)) * h5;
}

float limitToUnit(float x) {
  return std::min(1.0f, std::max(-1.0f, x));
}

// Runs the oversampled path: the interpolated sample goes through shapeA, the delayed input
// sample through shapeB.
template <typename ShapeA, typename ShapeB>
void oversample(float* buffer, int32_t count, DistortionState& state, float gainIn, float gainOut,
                ShapeA shapeA, ShapeB shapeB) {
  float* up = state.upRing;
  float* down = state.downRing;
  for (int32_t i = 0; i < count; ++i) {
    up[state.upPos & 15] = gainIn * buffer[i];
    const int32_t n = state.upPos + 1;
    state.upPos = static_cast<int8_t>(n);
    const float a = shapeA(halfBand(up, n));
    const float b = shapeB(up[(n + 7) & 15]);

    const int32_t d = state.downPos;
    down[d & 15] = a * 0.5f;
    down[(d + 1) & 15] = b * 0.5f;
    const int32_t m = d + 2;
    state.downPos = static_cast<int8_t>(m);
    buffer[i] = (halfBand(down, m) + down[(m + 7) & 15]) * gainOut;
  }
}

// Applies one shape to both samples of each pair.
template <typename Shape>
void oversample(float* buffer, int32_t count, DistortionState& state, float gainIn, float gainOut,
                Shape shape) {
  oversample(buffer, count, state, gainIn, gainOut, shape, shape);
}

float signOf(float x) {
  return x > 0.0f ? 1.0f : -1.0f;
}

void compress(float* buffer, int32_t count, DistortionState& state, float drive, float sampleRate) {
  const float k = (1.0f / sampleRate) * 20.5f * 0.5f;
  const float threshold = drive * drive;
  float envelope = std::isfinite(state.upRing[0]) ? state.upRing[0] : 0.0f;
  for (int32_t i = 0; i < count; ++i) {
    const float x = buffer[i];
    envelope = fastAbs(x) * k + (1.0f - k) * envelope;
    if (envelope >= threshold && envelope > 0.0f) buffer[i] = x * threshold / envelope;
  }
  state.upRing[0] = std::isfinite(envelope) ? envelope : 0.0f;
}

}  // namespace

void distort(float* buffer, int32_t count, DistortionState& state, int32_t type, float drive,
             float sampleRate) {
  if (type < distortionTubeAmp || type > distortionWarble) return;
  drive = std::isnan(drive) ? 0.0f : std::min(8.0f, std::max(0.0f, drive));
  const float exponentialGain = fastExp(drive * 10.0f) / 10.0f;
  const auto rational = [](float x) { return x / (fastAbs(x) + 1.0f); };
  const auto presence = [](float x) { return x / (x * x + 1.0f); };
  switch (type) {
    case distortionTubeAmp:
      oversample(buffer, count, state, exponentialGain, 0.5f, rational,
                 [rational](float x) { return fastSine(rational(x)); });
      break;
    case distortionHardClip:
      oversample(buffer, count, state, exponentialGain, 0.4f, limitToUnit);
      break;
    case distortionPresence:
      oversample(buffer, count, state, exponentialGain, 0.8f, presence,
                 [presence](float x) { return fastSine(presence(x)); });
      break;
    case distortionWavewrap: {
      const float g = fastExp(drive * 4.0f);
      oversample(buffer, count, state, 1.0f, 3.0f, [g](float x) {
        const float a = x * g;
        const float r = wholePart(fastAbs(a) + 0.5f);
        return (r * signOf(a) - a) / g;
      });
      break;
    }
    case distortionWaveshape:
      oversample(buffer, count, state, exponentialGain, 0.5f, fastSine);
      break;
    case distortionBitcrush: {
      const float c = fastExp((1.0f - drive) * 6.0f) * 4.0f;
      oversample(buffer, count, state, 1.0f, 1.5f, [c](float x) {
        const float s = x < 0.0f ? -1.0f : 1.0f;
        const float q = wholePart(std::sqrt(s * c * x));
        return (q * q / c) * s;
      });
      break;
    }
    case distortionVolume: {
      const float gain = drive * drive * 4.0f;
      for (int32_t i = 0; i < count; ++i) buffer[i] *= gain;
      break;
    }
    case distortionSquare:
      oversample(buffer, count, state, std::sqrt(drive) * 10.0f, 2.0f, [](float x) { return x * x; });
      break;
    case distortionCubic:
      oversample(buffer, count, state, std::sqrt(drive) * 10.0f, 2.0f, [](float x) { return x * x * x; });
      break;
    case distortionCompressor:
      compress(buffer, count, state, drive, sampleRate);
      break;
    case distortionWarble:
      oversample(buffer, count, state, drive * drive * 40.0f, 0.4f, [](float x) { return fastSine(x) * x; });
      break;
  }
}
