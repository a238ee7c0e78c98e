#include "plugin/engine/AudioOscillator.h"

#include <algorithm>
#include <cmath>

#include "plugin/engine/Fraction.h"
#include "plugin/engine/dsp/AccurateSine.h"
#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/FloatVector.h"
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

// The scale of one key's waveform: value x level x send x gain, multiplied in this order, with gain
// divided among the sub-steps of an oversampled key.
struct KeyScale {
  float level;
  float send;
  float gain;

  float operator()(float value) const { return value * level * send * gain; }
};

// Runs one key for count samples of SubSteps sub-steps each, adding into buffer.
template <int32_t SubSteps, typename Value, typename Wrap>
void renderKey(float* buffer, int32_t count, float& phase, float& lastPhase, float& aux, float inc,
               const KeyScale& scale, Value& value, Wrap& wrap) {
  constexpr float part = 1.0f / static_cast<float>(SubSteps);
  float p = phase;
  float last = lastPhase;
  for (int32_t i = 0; i < count; ++i) {
    float sum = 0.0f;
    for (int32_t sub = 0; sub < SubSteps; ++sub) {
      sum += value(p, aux, scale, part);
      const float next = advance(p, inc);
      if (next < p) wrap(aux);
      last = p;
      p = next;
    }
    buffer[i] += sum;
  }
  phase = p;
  lastPhase = last;
}

// Calls visit(key) in key order for every key whose target is above 0 or, when levels is given, whose
// level exceeds 0.001; four keys are tested at once.
template <typename Visit>
void forEachSoundingKey(const float* targets, const float* levels, Visit visit) {
  const FloatVector silent;
  const FloatVector audible(0.001f);
  for (int32_t first = 0; first < keyCount; first += 4) {
    int bits = laneBits(greaterThan(FloatVector::load(targets + first), silent));
    if (levels) bits |= laneBits(greaterThan(FloatVector::load(levels + first), audible));
    for (int32_t lane = 0; bits != 0; ++lane, bits >>= 1) {
      if (bits & 1) visit(first + lane);
    }
  }
}

// Renders the sounding keys of one LFO. value(p, aux, scale, part) answers the contribution of phase
// p scaled by scale (and may advance aux); wrap(aux) runs when a key's phase passes 1.
template <typename Value, typename Wrap>
void renderKeys(float* buffer, int32_t count, AudioOscillatorState& state, const float* keyTarget,
                int32_t lfo, const ShapeRules& rules, float freq, float send, Value value, Wrap wrap) {
  forEachSoundingKey(keyTarget, rules.smoothed ? state.keyLevel : nullptr, [&](int32_t key) {
    float level = keyTarget[key];
    if (rules.smoothed) {
      float& smoothedLevel = state.keyLevel[key];
      smoothedLevel = level * rules.targetWeight + smoothedLevel * rules.levelWeight;
      level = smoothedLevel;
    }
    float& phase = state.phase[lfo][key];
    float& aux = state.aux[lfo][key];
    if (!std::isfinite(phase)) phase = 0.0f;
    if (!std::isfinite(aux)) aux = 0.0f;
    // Locals, so that the writes into buffer do not force them back into memory every sample.
    float p = phase;
    float a = aux;
    float last = state.lastPhase[lfo][key];
    const bool oversampled = key >= rules.firstOversampled;
    const float part = oversampled ? 1.0f / static_cast<float>(rules.subSteps) : 1.0f;
    const float inc = freq * state.noteIncrement[key] * rules.phaseScale * part;
    const KeyScale scale{level, send, rules.gain * part};
    if (!oversampled) {
      renderKey<1>(buffer, count, p, last, a, inc, scale, value, wrap);
    } else if (rules.subSteps == 2) {
      renderKey<2>(buffer, count, p, last, a, inc, scale, value, wrap);
    } else {
      renderKey<4>(buffer, count, p, last, a, inc, scale, value, wrap);
    }
    state.lastPhase[lfo][key] = last;
    aux = a;
    phase = std::isfinite(p) ? p : 0.0f;
  });
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
          [](float p, float&, const KeyScale& s, float) { return s(triangle(p) - 0.5f); }, noWrap);
      break;
    case 2:
    case 3:
      render(
          {73, 4, 1.0f, true, 0.2f, 0.8f, 2.0f},
          [](float p, float&, const KeyScale& s, float) { return s(p - 0.5f); }, noWrap);
      break;
    case 4:
    case 5:
      render(
          {keyCount, 1, 1.0f, true, 0.02f, 0.98f, 2.0f},
          [](float p, float&, const KeyScale& s, float) { return s(fastSine(p * 6.28318f - 3.14159f)); },
          noWrap);
      break;
    case 6:
      render(
          {73, 4, 1.0f, true, 0.2f, 0.8f, 1.0f},
          [](float p, float&, const KeyScale& s, float) { return s(p <= 0.5f ? 1.0f : -1.0f); }, noWrap);
      break;
    case 7: {
      float& held = state.held[lfo][0];
      if (!std::isfinite(held)) held = 0.0f;
      render(
          {keyCount, 1, 8.0f, false, 0.0f, 0.0f, 1.0f},
          [&held](float, float&, const KeyScale& s, float) { return s(held); },
          [&held](float&) { held = randomInRange(-1.0f, 1.0f); });
      break;
    }
    case 8:
      render(
          {keyCount, 1, 1.0f, true, 0.2f, 0.9f, 1.0f},
          [](float p, float& r, const KeyScale& s, float) {
            const float h = wholePart((r * r * 15.0f + 1.0f) + 4.712385f);
            return s(accurateSine(h * p * 6.28318f));
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
          [decay](float, float& pulse, const KeyScale& s, float) {
            pulse *= decay;
            return s(pulse);
          },
          [height](float& pulse) { pulse = height; });
      break;
    }
    case 10: {
      RandomDraws random;
      render(
          {keyCount, 1, 0.0f, false, 0.0f, 0.0f, 1.0f},
          [&random](float, float&, const KeyScale& s, float) {
            const float g = s(1.0f);
            return random.inRange(-g, g);
          },
          noWrap);
      break;
    }
    case 11:
      render(
          {73, 4, 1.0f, true, 0.3f, 0.7f, 1.0f},
          [modulatorRate](float p, float& q, const KeyScale& s, float part) {
            q = advance(q, modulatorRate * 0.0001f * part);
            const float m = triangle(q);
            return s((p <= 0.4f - 0.2f * m || p >= 0.6f + 0.2f * m) ? -1.0f : 1.0f);
          },
          noWrap);
      break;
    case 12:
      render(
          {70, 4, 1.0f, true, 0.3f, 0.7f, 0.666f},
          [](float p, float&, const KeyScale& s, float) {
            return s(fraction(2.0f * p) + p + fraction(4.0f * p) - 1.5f);
          },
          noWrap);
      break;
    case 13:
      render(
          {73, 4, 1.0f, true, 0.3f, 0.7f, 0.6666f * 2.0f},
          [modulatorRate](float p, float& q, const KeyScale& s, float part) {
            q = advance(q, modulatorRate * 3e-05f * part);
            return s(fraction(p + q) + p + fraction(p + 2.0f * q) - 1.5f);
          },
          noWrap);
      break;
    case 14:
      render(
          {keyCount, 1, 1.0f, true, 0.05f, 0.95f, 2.0f},
          [](float p, float&, const KeyScale& s, float) {
            // The negative half is dropped (a non-number too); zeros of either sign add alike.
            return std::max(0.0f, s(fastSine(p * 6.28318f - 3.14159f)));
          },
          noWrap);
      break;
    default:
      break;
  }
}
