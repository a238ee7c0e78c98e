#include "plugin/engine/StepSequencer.h"

#include <algorithm>
#include <cmath>

#include "plugin/engine/dsp/Random.h"

namespace {

constexpr float stepSync[stepSyncCount] = {
    1.0f / 32, 1.0f / 24, 1.0f / 16,  1.0f / 12,  1.0f / 8,   1.0f / 6,      1.0f / 4,   1.0f / 3, 0.5f,
    0.75f,     1.0f,      1.5f,       2.0f,       3.0f,       4.0f,          6.0f,       8.0f,     1.0f / 48,
    1.0f / 64, 1.0f / 96, 1.0f / 128, 1.0f / 192, 1.0f / 256, 0.0025380710f, 1.0f / 512,
};

// Crossfade of the gate across a step boundary over 2w of a step.
float softEdge(float t, float w, float previous, float current, float next) {
  if (t < w) return (0.5f - t / (2.0f * w)) * previous + (0.5f + t / (2.0f * w)) * current;
  if (t > 1.0f - w)
    return (t / (2.0f * w) + 0.5f - 1.0f / (2.0f * w)) * next +
           (1.0f / (2.0f * w) + 0.5f - t / (2.0f * w)) * current;
  return current;
}

float decayFactor(int32_t shape) {
  const int32_t exponent = shape <= 11 ? shape - 2 : shape - 7;
  return 1.0f - std::ldexp(1.0f, -exponent);
}

}  // namespace

float stepPatternsPerBeat(int32_t syncEntry) {
  return stepSync[std::clamp(syncEntry, 0, stepSyncCount - 1)];
}

float stepSequencerTick(int32_t syncEntry, int32_t shape, float period, float sampleRate, float tempo,
                        const float* steps, double& beats, float& lastFraction, float& level,
                        int32_t& currentStep) {
  beats += tempo / 60.0f / sampleRate * period;
  const double x = stepPatternsPerBeat(syncEntry) * beats;
  float y = static_cast<float>(x - std::trunc(x));
  if (!(y >= 0.0f && y < 1.0f)) y = 0.0f;  // negative, rounded up to 1, or a clock that is not a number
  const float pos = 16.0f * y;
  const int32_t k = std::min(15, static_cast<int32_t>(pos));
  currentStep = k;
  const float t = pos - static_cast<float>(k);

  const auto gate = [steps](int32_t i) { return steps[(i + 16) % 16] > 0.5f ? 1.0f : 0.0f; };
  const float previous = gate(k - 1);
  const float current = gate(k);
  const float next = gate(k + 1);
  const bool newStep = lastFraction > t;

  float value = 0.0f;
  switch (shape) {
    case 0:
      value = current;
      break;
    case 1:
    case 2:
    case 3:
      value = softEdge(t, std::ldexp(1.0f, shape - 5), previous, current, next);
      break;
    case 4:
      value =
          t < 0.5f ? (0.5f - t) * previous + (t + 0.5f) * current : (t - 0.5f) * next + (1.5f - t) * current;
      break;
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 17:
    case 18:
    case 19:
      if (k == 0 && gate(0) == 1.0f && t < 0.0625f) level = 1.0f;
      if (current == 1.0f && newStep) {
        level = 1.0f;
        value = 1.0f;
      } else {
        level *= decayFactor(shape);
        value = level;
      }
      break;
    case 12:
      value = current == 1.0f ? (t < 0.5f ? 2.0f * t : 2.0f - 2.0f * t) : 0.0f;
      break;
    case 13:
      value = current == 1.0f ? t : 0.0f;
      break;
    case 14:
      value = current == 1.0f ? 1.0f - t : 0.0f;
      break;
    case 15:
      value = current == 1.0f && t < 0.5f ? 1.0f : 0.0f;
      break;
    case 16:
      if (current == 1.0f) {
        if (newStep) level = randomBipolar() * 0.5f + 0.5f;
        value = level;
      }
      break;
    default:
      break;
  }
  lastFraction = t;
  return value;
}
