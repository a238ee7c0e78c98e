#include "plugin/engine/AudioOscillator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr float heldTarget = 100.0f / 128.0f * 0.0625f;

struct Oscillator {
  std::unique_ptr<AudioOscillatorState> state = std::make_unique<AudioOscillatorState>();
  float keyTarget[128] = {};

  Oscillator() { buildNoteTable(state->noteIncrement); }

  std::vector<float> render(int32_t count, int32_t shape, float freq, float send, float sampleRate = 44100.0f,
                            int32_t lfo = 0) {
    std::vector<float> buffer(count, 0.0f);
    renderOscillator(buffer.data(), count, *state, keyTarget, lfo, shape, freq, send, sampleRate);
    return buffer;
  }

  // Renders in pieces of a control period, as the engine does, so that the levels settle.
  std::vector<float> renderPieces(int32_t count, int32_t shape, float freq, float send, float sampleRate) {
    std::vector<float> buffer(count, 0.0f);
    for (int32_t start = 0; start < count; start += 36) {
      renderOscillator(buffer.data() + start, std::min(36, count - start), *state, keyTarget, 0, shape, freq,
                       send, sampleRate);
    }
    return buffer;
  }
};

double keyHz(int key) {
  return 8.175798915636872 * std::pow(2.0, key / 12.0);
}

TEST(AudioOscillator, NoteTableSoundsSlightlyAboveEachKeysPitch) {
  Oscillator oscillator;
  for (int key : {0, 60, 69, 127}) {
    EXPECT_NEAR(oscillator.state->noteIncrement[key] * 44100.0 / keyHz(key), 1.00577, 1e-4) << key;
  }
}

TEST(AudioOscillator, PitchIsKeyTimesRateTimesBend) {
  struct Case {
    int key;
    float rate;
    float bend;
    float sampleRate;
  };
  for (const Case& c : {Case{69, 1.0f, 1.0f, 44100.0f}, Case{45, 0.5f, 1.12f, 48000.0f},
                        Case{81, 0.8f, 0.89f, 96000.0f}, Case{100, 0.25f, 1.0f, 192000.0f}}) {
    Oscillator oscillator;
    oscillator.keyTarget[c.key] = heldTarget;
    const float freq = c.rate * c.bend * 44100.0f / c.sampleRate;
    const int32_t count = static_cast<int32_t>(c.sampleRate);  // one second
    const std::vector<float> saw = oscillator.renderPieces(count, 2, freq, 1.0f, c.sampleRate);
    // Count the falling edges of the saw and time them; an oversampled key may spread an edge over
    // two samples.
    std::vector<int32_t> edges;
    for (int32_t i = 1; i < count; ++i) {
      const bool falling = saw[i] - saw[i - 1] < -0.5f * heldTarget;
      if (falling && (edges.empty() || i - edges.back() > 2)) edges.push_back(i);
    }
    ASSERT_GE(edges.size(), 10u);
    const double measuredHz = (edges.size() - 1) * static_cast<double>(c.sampleRate) /
                              static_cast<double>(edges.back() - edges.front());
    const double expectedHz = keyHz(c.key) * 1.00577 * c.rate * c.bend;
    EXPECT_NEAR(measuredHz / expectedHz, 1.0, 0.002) << c.key;
  }
}

TEST(AudioOscillator, SendSetsLevelAndPolarity) {
  struct Case {
    float send;
    float sign;
  };
  std::vector<float> full;
  for (const Case& c : {Case{1.0f, 1.0f}, Case{0.0f, -1.0f}, Case{0.5f, 0.0f}}) {
    Oscillator oscillator;
    oscillator.keyTarget[60] = heldTarget;
    const float send = std::pow((c.send - 0.5f) * 2.0f, 3.0f);
    const std::vector<float> output = oscillator.render(500, 0, 1.0f, send);
    if (full.empty()) full = output;
    for (size_t i = 0; i < output.size(); ++i) ASSERT_FLOAT_EQ(output[i], c.sign * full[i]) << c.send;
  }
}

TEST(AudioOscillator, ReleasedKeysFadeWithTheSmoothingOrStopAtOnce) {
  Oscillator oscillator;
  oscillator.keyTarget[60] = heldTarget;
  for (int piece = 0; piece < 200; ++piece) oscillator.render(36, 0, 1.0f, 1.0f);
  const float settled = oscillator.state->keyLevel[60];
  EXPECT_NEAR(settled, heldTarget, 1e-5f);
  oscillator.keyTarget[60] = 0.0f;
  oscillator.render(36, 0, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(oscillator.state->keyLevel[60], settled * 0.95f);

  Oscillator noise;
  noise.keyTarget[60] = heldTarget;
  bool sounded = false;
  for (float x : noise.render(36, 10, 1.0f, 1.0f)) sounded = sounded || x != 0.0f;
  EXPECT_TRUE(sounded);
  noise.keyTarget[60] = 0.0f;
  for (float x : noise.render(36, 10, 1.0f, 1.0f)) EXPECT_EQ(x, 0.0f);
}

// The pulse decays in time, not per sample: what a filter hears of it (the level of the key's lower
// harmonics) stays that of 44.1 kHz at other rates, down to 20000 Hz, where a decay of 1 - 20000 / rate
// per sample would leave it silent.
TEST(AudioOscillator, ImpulseKeepsItsLevelAtEverySampleRate) {
  const auto harmonicLevels = [](float sampleRate) {
    Oscillator oscillator;
    oscillator.keyTarget[60] = heldTarget;  // plain
    oscillator.keyTarget[84] = heldTarget;  // two sub-steps
    const std::vector<float> output =
        oscillator.render(static_cast<int32_t>(sampleRate), 9, 44100.0f / sampleRate, 1.0f, sampleRate);
    // Amplitudes of the first harmonics of both keys over one second.
    std::vector<double> levels;
    for (int key : {60, 84}) {
      for (int harmonic = 1; harmonic <= 3; ++harmonic) {
        const double w = 2.0 * 3.14159265358979 * keyHz(key) * 1.00577 * harmonic / sampleRate;
        double re = 0.0;
        double im = 0.0;
        for (size_t i = 0; i < output.size(); ++i) {
          re += output[i] * std::cos(w * static_cast<double>(i));
          im += output[i] * std::sin(w * static_cast<double>(i));
        }
        levels.push_back(2.0 * std::hypot(re, im) / static_cast<double>(output.size()));
      }
    }
    return levels;
  };
  const std::vector<double> reference = harmonicLevels(44100.0f);
  for (float sampleRate : {20000.0f, 22050.0f, 48000.0f, 96000.0f, 192000.0f}) {
    const std::vector<double> levels = harmonicLevels(sampleRate);
    for (size_t i = 0; i < levels.size(); ++i) {
      ASSERT_GT(reference[i], 0.001 * heldTarget);
      EXPECT_NEAR(20.0 * std::log10(levels[i] / reference[i]), 0.0, 1.5) << sampleRate << " harmonic " << i;
    }
  }
}

TEST(AudioOscillator, EveryShapeStaysBoundedOnEveryKeyAndShapesOutsideTheMenuAddNothing) {
  for (int32_t shape = -1; shape <= 15; ++shape) {
    for (float sampleRate : {8000.0f, 22050.0f, 44100.0f, 192000.0f}) {
      Oscillator oscillator;
      for (float& target : oscillator.keyTarget) target = heldTarget;
      float peak = 0.0f;
      for (int piece = 0; piece < 20; ++piece) {
        for (float x : oscillator.render(64, shape, 1.3f, 1.0f, sampleRate)) {
          ASSERT_TRUE(std::isfinite(x));
          peak = std::fmax(peak, std::fabs(x));
        }
      }
      // "Rand Sine" settles at twice its target; 128 keys at most add up.
      EXPECT_LE(peak, 128.0f * heldTarget * 8.0f) << shape;
      if (shape < 0 || shape > 14) {
        EXPECT_EQ(peak, 0.0f) << shape;
      }
    }
  }
}

TEST(AudioOscillator, NonFiniteFrequencyPlaysNothingAndLeavesTheStateUsable) {
  Oscillator oscillator;
  oscillator.keyTarget[60] = heldTarget;
  for (float x : oscillator.render(64, 2, std::nanf(""), 1.0f)) EXPECT_TRUE(std::isfinite(x));
  for (float x : oscillator.render(64, 2, INFINITY, 1.0f)) EXPECT_TRUE(std::isfinite(x));
  EXPECT_TRUE(std::isfinite(oscillator.state->phase[0][60]));
}

TEST(AudioOscillator, RandomHoldsADrawnValueForEightTimesTheKeysFrequency) {
  Oscillator oscillator;
  oscillator.keyTarget[60] = heldTarget;
  const std::vector<float> output = oscillator.render(20000, 7, 1.0f, 1.0f);
  int changes = 0;
  for (size_t i = 1; i < output.size(); ++i) {
    ASSERT_LE(std::fabs(output[i] / heldTarget), 1.0015f);
    changes += output[i] != output[i - 1] ? 1 : 0;
  }
  const double wraps = 20000.0 * 8.0 * keyHz(60) * 1.00577 / 44100.0;
  EXPECT_NEAR(changes, wraps, 3.0);
  EXPECT_EQ(oscillator.state->held[1][0], 0.0f);  // LFO 2 keeps its own
}

}  // namespace
