#include "plugin/engine/Lfo.h"

#include <algorithm>
#include <cmath>

#include "plugin/engine/Fraction.h"
#include "plugin/engine/dsp/Random.h"

namespace {

constexpr float lfoSync[lfoSyncCount] = {
    0.0f, 1.0f / 32, 1.0f / 24, 1.0f / 16, 1.0f / 12, 1.0f / 8,  1.0f / 6,   1.0f / 4, 0.333333f,
    0.5f, 0.666666f, 0.75f,     1.0f,      1.5f,      2.0f,      3.0f,       4.0f,     6.0f,
    8.0f, 12.0f,     16.0f,     24.0f,     32.0f,     1.0f / 64, 1.0f / 128,
};

float triangle(float p) {
  return p > 0.5f ? 2.0f - 2.0f * p : 2.0f * p;
}

float organ(float p) {
  const float s = std::sin(6.28318f * p + 4.712385f);
  return s < 0.0f ? 0.0f : s;
}

}  // namespace

float lfoCyclesPerBeat(int32_t syncEntry) {
  return lfoSync[std::clamp(syncEntry, 0, lfoSyncCount - 1)];
}

float lfoShape(float p, int32_t shape, float& lastPhase, float& held) {
  const bool wrapped = lastPhase > p;
  float value = 0.0f;
  float last = p;
  switch (shape) {
    case 0:
      value = triangle(p);
      break;
    case 1: {
      float shifted = p + 0.25f;
      if (shifted > 1.0f) shifted -= 1.0f;
      value = triangle(shifted);
      last = shifted;
      break;
    }
    case 2:
      value = p;
      break;
    case 3:
      value = 1.0f - p;
      break;
    case 4:
      value = std::sin(6.28318f * p + 4.712385f) * 0.5f + 0.5f;
      break;
    case 5:
      value = std::cos(6.28318f * p + 4.712385f) * 0.5f + 0.5f;
      break;
    case 6:
      value = p < 0.5f ? 1.0f : 0.0f;
      break;
    case 7:
      if (wrapped) held = randomBipolar() * 0.5f + 0.5f;
      value = held;
      break;
    case 8: {
      if (wrapped) held = randomBipolar();
      const float root = held * 0.5f + 0.5f;
      const float n = wholePart(root * root * 15.0f + 1.0f);
      value = std::sin(n * 6.28318f * p + 4.712385f) * 0.5f + 0.5f;
      break;
    }
    case 9:
      value = wrapped ? 1.0f : 0.0f;
      break;
    case 10:
      value = randomBipolar() * 0.5f + 0.5f;
      break;
    case 11: {
      held = fraction(held + 0.001f);
      const float width = triangle(held) * 0.4f + 0.1f;
      value = p < width ? 1.0f : 0.0f;
      break;
    }
    case 12:
      value = (fraction(2.0f * p) + p + fraction(4.0f * p)) * 0.333f;
      break;
    case 13:
      held = fraction(held + 0.0001f);
      value = organ(p);
      break;
    case 14:
      value = organ(p);
      break;
    default:
      break;
  }
  lastPhase = last;
  return value;
}

float lfoTick(float rate, int32_t syncEntry, int32_t shape, float period, float sampleRate, float tempo,
              float& phase, float& lastPhase, double& beats, float& held) {
  float ph = 0.0f;
  if (syncEntry != 0) {
    beats += tempo / 60.0f / sampleRate * period;
    const double x = lfoCyclesPerBeat(syncEntry) * beats;
    ph = static_cast<float>(x - std::trunc(x));
  } else {
    ph = phase + 1.0f / sampleRate * period * rate * rate * 72.7f;
  }
  ph = fraction(ph);
  if (!std::isfinite(ph)) ph = 0.0f;
  phase = ph;
  return lfoShape(ph, shape, lastPhase, held);
}
