#include "plugin/engine/AudioOscillator.h"

#include <cmath>

#include "plugin/engine/Fraction.h"
#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/Random.h"

namespace {

constexpr int32_t keyCount = AudioOscillatorState::keyCount;

float triangle(float p) {
  return p <= 0.5f ? 2.0f * p : 2.0f - 2.0f * p;
}

// frac(p + inc), by a subtraction in the usual case of a phase and a step below 1 (the same result
// as the truncation, without its long dependency from sample to sample).
float advance(float p, float inc) {
  const float next = p + inc;
  if (next >= 0.0f && next < 2.0f) return next >= 1.0f ? next - 1.0f : next;
  return fraction(next);
}

// How a shape treats its keys.
struct ShapeRules {
  int32_t firstOversampled;  // keys from here on run sub-steps (keyCount: none)
  int32_t subSteps;          // sub-steps per sample of the oversampled keys
  float phaseScale;          // multiple of the key's phase step
  bool smoothed;             // the level follows the key's target with the weights below
  float targetWeight;
  float levelWeight;
  float gain;  // factor of level x send
};

// Renders the sounding keys of one LFO. value(p, aux, weight) answers the contribution of phase p
// scaled by weight (and may advance aux); wrap(aux) runs when a key's phase passes 1.
template <typename Value, typename Wrap>
void renderKeys(float* buffer, int32_t count, AudioOscillatorState& state, const float* keyTarget,
                int32_t lfo, const ShapeRules& rules, float freq, float send, Value value, Wrap wrap) {
  for (int32_t key = 0; key < keyCount; ++key) {
    float level = keyTarget[key];
    if (rules.smoothed) {
      float& smoothedLevel = state.keyLevel[key];
      if (!(smoothedLevel > 0.001f || level > 0.0f)) continue;
      smoothedLevel = level * rules.targetWeight + smoothedLevel * rules.levelWeight;
      level = smoothedLevel;
    } else if (!(level > 0.0f)) {
      continue;
    }
    // Locals, so that the writes into buffer do not force them back into memory every sample.
    float p = std::isfinite(state.phase[lfo][key]) ? state.phase[lfo][key] : 0.0f;
    float aux = std::isfinite(state.aux[lfo][key]) ? state.aux[lfo][key] : 0.0f;
    float last = state.lastPhase[lfo][key];
    const float gain = level * send * rules.gain;
    const int32_t subSteps = key >= rules.firstOversampled ? rules.subSteps : 1;
    const float part = 1.0f / static_cast<float>(subSteps);
    const float inc = freq * state.noteIncrement[key] * rules.phaseScale * part;
    const float weight = gain * part;
    for (int32_t i = 0; i < count; ++i) {
      float sum = 0.0f;
      for (int32_t sub = 0; sub < subSteps; ++sub) {
        sum += value(p, aux, weight, part);
        const float next = advance(p, inc);
        if (next < p) wrap(aux);
        last = p;
        p = next;
      }
      buffer[i] += sum;
    }
    state.lastPhase[lfo][key] = last;
    state.aux[lfo][key] = aux;
    state.phase[lfo][key] = std::isfinite(p) ? p : 0.0f;
  }
}

}  // namespace

void buildNoteTable(float* noteIncrement) {
  double f = 8.175798915636872;
  for (int32_t n = 0; n < keyCount; ++n) {
    noteIncrement[n] = (static_cast<float>(f) * 0.00390625f * 0.00390625f / 1.338f) * 2.0f;
    f *= 1.059463094359;
  }
}

void renderOscillator(float* buffer, int32_t count, AudioOscillatorState& state, const float* keyTarget,
                      int32_t lfo, int32_t shape, float freq, float send, float sampleRate) {
  if (!std::isfinite(freq)) freq = 0.0f;
  const auto noWrap = [](float&) {};
  const auto render = [&](const ShapeRules& rules, auto value, auto wrap) {
    renderKeys(buffer, count, state, keyTarget, lfo, rules, freq, send, value, wrap);
  };
  // The slow modulators of "PWM" and "Strings" advance by this much per sample.
  const float modulatorRate = 44100.0f / sampleRate;
  switch (shape) {
    case 0:
    case 1:
      render(
          {keyCount, 1, 1.0f, true, 0.05f, 0.95f, 4.0f},
          [](float p, float&, float w, float) { return (triangle(p) - 0.5f) * w; }, noWrap);
      break;
    case 2:
    case 3:
      render(
          {73, 4, 1.0f, true, 0.2f, 0.8f, 2.0f},
          [](float p, float&, float w, float) { return (p - 0.5f) * w; }, noWrap);
      break;
    case 4:
    case 5:
      render(
          {keyCount, 1, 1.0f, true, 0.02f, 0.98f, 2.0f},
          [](float p, float&, float w, float) { return fastSine(p * 6.28318f - 3.14159f) * w; }, noWrap);
      break;
    case 6:
      render(
          {73, 4, 1.0f, true, 0.2f, 0.8f, 1.0f},
          [](float p, float&, float w, float) { return p <= 0.5f ? w : -w; }, noWrap);
      break;
    case 7: {
      float& held = state.held[lfo][0];
      if (!std::isfinite(held)) held = 0.0f;
      render(
          {keyCount, 1, 8.0f, false, 0.0f, 0.0f, 1.0f},
          [&held](float, float&, float w, float) { return held * w; },
          [&held](float&) { held = randomInRange(-1.0f, 1.0f); });
      break;
    }
    case 8:
      render(
          {keyCount, 1, 1.0f, true, 0.2f, 0.9f, 1.0f},
          [](float p, float& r, float w, float) {
            const float h = wholePart((r * r * 15.0f + 1.0f) + 4.712385f);
            return std::sin(h * p * 6.28318f) * w;
          },
          [](float& r) { r = randomInRange(0.0f, 1.0f); });
      break;
    case 9: {
      // The pulse decays by 1 - 20000 / 44100 per sample at 44.1 kHz and by as much per second at other
      // rates; its height keeps the sum of its samples over the rate (what the filters hear of so short
      // a pulse) that of 44.1 kHz. At 44.1 kHz the height is 2.
      const float decayAt44k = 1.0f - 20000.0f / 44100.0f;
      const float decay = std::pow(decayAt44k, 44100.0f / sampleRate);
      const float height =
          decay > 0.0f
              ? 2.0f * ((decayAt44k / (1.0f - decayAt44k) / 44100.0f) / (decay / (1.0f - decay) / sampleRate))
              : 0.0f;
      render(
          {73, 2, 1.0f, false, 0.0f, 0.0f, 4.0f},
          [decay](float, float& pulse, float w, float) {
            pulse *= decay;
            return pulse * w;
          },
          [height](float& pulse) { pulse = height; });
      break;
    }
    case 10:
      render(
          {keyCount, 1, 0.0f, false, 0.0f, 0.0f, 1.0f},
          [](float, float&, float w, float) { return randomInRange(-w, w); }, noWrap);
      break;
    case 11:
      render(
          {73, 4, 1.0f, true, 0.3f, 0.7f, 1.0f},
          [modulatorRate](float p, float& q, float w, float part) {
            q = advance(q, modulatorRate * 0.0001f * part);
            const float m = triangle(q);
            return (p <= 0.4f - 0.2f * m || p >= 0.6f + 0.2f * m) ? -w : w;
          },
          noWrap);
      break;
    case 12:
      render(
          {70, 4, 1.0f, true, 0.3f, 0.7f, 0.666f},
          [](float p, float&, float w, float) {
            return (fraction(2.0f * p) + p + fraction(4.0f * p) - 1.5f) * w;
          },
          noWrap);
      break;
    case 13:
      render(
          {73, 4, 1.0f, true, 0.3f, 0.7f, 0.6666f * 2.0f},
          [modulatorRate](float p, float& q, float w, float part) {
            q = advance(q, modulatorRate * 3e-05f * part);
            return (fraction(p + q) + p + fraction(p + 2.0f * q) - 1.5f) * w;
          },
          noWrap);
      break;
    case 14:
      render(
          {keyCount, 1, 1.0f, true, 0.05f, 0.95f, 2.0f},
          [](float p, float&, float w, float) {
            return std::fmax(0.0f, fastSine(p * 6.28318f - 3.14159f) * w);
          },
          noWrap);
      break;
    default:
      break;
  }
}
