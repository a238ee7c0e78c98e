#include "plugin/engine/AudioOscillator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/Random.h"

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

TEST(AudioOscillator, WaveformValueIsScaledByLevelThenSendThenGain) {
  struct Case {
    int32_t shape;
    int32_t key;
    int32_t subSteps;
    float targetWeight;
    float gain;  // per sub-step
    float (*value)(float p);
    bool halfWave;
  };
  const auto triangle = [](float p) { return (p <= 0.5f ? 2.0f * p : 2.0f - 2.0f * p) - 0.5f; };
  const auto saw = [](float p) { return p - 0.5f; };
  const auto sine = [](float p) { return fastSine(p * 6.28318f - 3.14159f); };
  const auto layer = [](float p) {
    return (2.0f * p - std::trunc(2.0f * p)) + p + (4.0f * p - std::trunc(4.0f * p)) - 1.5f;
  };
  const Case cases[] = {
      {0, 60, 1, 0.05f, 4.0f, triangle, false}, {2, 60, 1, 0.2f, 2.0f, saw, false},
      {2, 100, 4, 0.2f, 0.5f, saw, false},      {4, 60, 1, 0.02f, 2.0f, sine, false},
      {12, 60, 1, 0.3f, 0.666f, layer, false},  {14, 60, 1, 0.05f, 2.0f, sine, true},
  };
  const float send = 0.337f;
  for (const Case& c : cases) {
    Oscillator oscillator;
    oscillator.keyTarget[c.key] = heldTarget;
    const std::vector<float> output = oscillator.render(300, c.shape, 1.0f, send);
    const float level = heldTarget * c.targetWeight;  // the first piece starts from silence
    const float inc = oscillator.state->noteIncrement[c.key] / static_cast<float>(c.subSteps);
    float p = 0.0f;
    for (size_t i = 0; i < output.size(); ++i) {
      float expected = 0.0f;
      for (int32_t sub = 0; sub < c.subSteps; ++sub) {
        const float scaled = c.value(p) * level * send * c.gain;
        expected += c.halfWave ? std::fmax(0.0f, scaled) : scaled;
        p = (p + inc) - std::trunc(p + inc);
      }
      ASSERT_EQ(output[i], expected) << "shape " << c.shape << " key " << c.key << " sample " << i;
    }
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

// How each shape treats a key: oversampled from which key, the level's weights and the waveform's factor.
struct ShapeRow {
  int32_t shape;
  int32_t firstOversampled;         // 128: never
  float targetWeight, levelWeight;  // the smoothing of the key's level
  float factor;                     // of level x send
};

float triangleOf(float p) {
  return p <= 0.5f ? 2.0f * p : 2.0f - 2.0f * p;
}

float fractionOf(float x) {
  return x - std::trunc(x);
}

// The waveform of a shape at phase p (q: the slow modulator of "PWM" and "Strings"), before level, send and
// factor.
float waveOf(int32_t shape, float p, float q) {
  switch (shape) {
    case 0:
    case 1:
      return triangleOf(p) - 0.5f;
    case 2:
    case 3:
      return p - 0.5f;
    case 4:
    case 5:
    case 14:
      return fastSine(p * 6.28318f - 3.14159f);
    case 6:
      return p <= 0.5f ? 1.0f : -1.0f;
    case 11: {
      const float m = triangleOf(q);
      return (p <= 0.4f - 0.2f * m || p >= 0.6f + 0.2f * m) ? -1.0f : 1.0f;
    }
    case 12:
      return fractionOf(2.0f * p) + p + fractionOf(4.0f * p) - 1.5f;
    default:  // 13
      return fractionOf(p + q) + p + fractionOf(p + 2.0f * q) - 1.5f;
  }
}

// The shapes that follow a smoothed level, sample by sample from known phases on the last plain key and the
// first oversampled one, for both LFOs, both polarities and two sample rates.
TEST(AudioOscillator, EverySmoothedShapeFromKnownPhases) {
  const ShapeRow rows[] = {
      {0, 128, 0.05f, 0.95f, 4.0f},  {1, 128, 0.05f, 0.95f, 4.0f},
      {2, 73, 0.2f, 0.8f, 2.0f},     {3, 73, 0.2f, 0.8f, 2.0f},
      {4, 128, 0.02f, 0.98f, 2.0f},  {5, 128, 0.02f, 0.98f, 2.0f},
      {6, 73, 0.2f, 0.8f, 1.0f},     {11, 73, 0.3f, 0.7f, 1.0f},
      {12, 70, 0.3f, 0.7f, 0.666f},  {13, 73, 0.3f, 0.7f, 0.6666f * 2.0f},
      {14, 128, 0.05f, 0.95f, 2.0f},
  };
  for (const ShapeRow& row : rows) {
    const int32_t boundary = std::min(row.firstOversampled, 127);
    for (int32_t key : {boundary - 1, boundary}) {
      for (int32_t lfo : {0, 1}) {
        for (float send : {0.8f, -0.6f}) {
          for (float sampleRate : {44100.0f, 48000.0f}) {
            SCOPED_TRACE(testing::Message() << "shape " << row.shape << " key " << key << " LFO " << lfo + 1
                                            << " send " << send << " at " << sampleRate);
            Oscillator oscillator;
            oscillator.state->noteIncrement[key] = 1.0f / 16.0f;  // with freq 1, 16 samples per cycle
            oscillator.state->phase[lfo][key] = 1.0f / 32.0f;
            oscillator.state->aux[lfo][key] = 0.2f;
            oscillator.state->keyLevel[key] = 0.02f;
            oscillator.keyTarget[key] = 0.05f;
            const std::vector<float> output = oscillator.render(24, row.shape, 1.0f, send, sampleRate, lfo);

            const float level = 0.05f * row.targetWeight + 0.02f * row.levelWeight;
            EXPECT_FLOAT_EQ(oscillator.state->keyLevel[key], level);
            const int32_t subSteps = key >= row.firstOversampled ? 4 : 1;
            const float part = 1.0f / static_cast<float>(subSteps);
            const float modulatorStep = 44100.0f / sampleRate * (row.shape == 11 ? 0.0001f : 3e-05f) * part;
            float p = 1.0f / 32.0f;
            float q = 0.2f;
            for (int32_t i = 0; i < 24; ++i) {
              float expected = 0.0f;
              for (int32_t sub = 0; sub < subSteps; ++sub) {
                if (row.shape == 11 || row.shape == 13) q += modulatorStep;
                float value = waveOf(row.shape, p, q) * level * send * row.factor;
                if (row.shape == 14) value = std::fmax(0.0f, value);  // the organ keeps the positive half
                expected += value * part;
                p = fractionOf(p + 1.0f / 16.0f * part);
              }
              ASSERT_NEAR(output[i], expected, 1e-5f * level) << "sample " << i;
            }
          }
        }
      }
    }
  }
}

// The next value randomInRange would give.
float nextRandom(float lo, float hi) {
  return (hi - lo) * (static_cast<float>(randomSeed.load() * 196314165u + 907633515u) * 2.33e-10f) + lo;
}

// "Random": one held value for all keys of the LFO, drawn anew when any key's phase (eight times the key's
// step) wraps.
TEST(AudioOscillator, RandomKeysShareOneHeldValue) {
  Oscillator oscillator;
  for (int32_t key : {50, 70}) oscillator.state->noteIncrement[key] = 1.0f / 1024.0f;
  oscillator.state->phase[0][50] = 1.0f - 1.0f / 256.0f;  // wraps after its first sample
  oscillator.state->phase[0][70] = 0.25f;
  oscillator.state->held[0][0] = 0.3f;
  oscillator.keyTarget[50] = 0.04f;
  oscillator.keyTarget[70] = 0.05f;
  const float drawn = nextRandom(-1.0f, 1.0f);
  const std::vector<float> output = oscillator.render(8, 7, 1.0f, 0.5f);
  EXPECT_FLOAT_EQ(oscillator.state->held[0][0], drawn);
  EXPECT_NEAR(output[0], 0.3f * 0.04f * 0.5f + drawn * 0.05f * 0.5f, 1e-7f);
  for (int32_t i = 1; i < 8; ++i) EXPECT_NEAR(output[i], drawn * (0.04f + 0.05f) * 0.5f, 1e-7f) << i;
}

// "Rand Sine": at every wrap the key draws r; the sine runs h = whole part of r^2 x 15 + 1 + 4.712385
// (5 to 20) times per cycle; its level settles at twice the target.
TEST(AudioOscillator, RandSineDrawsItsHarmonicAtEveryWrap) {
  for (int32_t wraps = 0; wraps < 20; ++wraps) {
    Oscillator oscillator;
    oscillator.state->noteIncrement[60] = 1.0f / 16.0f;
    oscillator.state->phase[0][60] = 15.0f / 16.0f;
    oscillator.state->aux[0][60] = 0.5f;
    oscillator.state->keyLevel[60] = 0.02f;
    oscillator.keyTarget[60] = 0.05f;
    const float r = nextRandom(0.0f, 1.0f);
    const std::vector<float> output = oscillator.render(8, 8, 1.0f, 0.7f);
    const float level = 0.05f * 0.2f + 0.02f * 0.9f;
    const float before = std::trunc((0.5f * 0.5f * 15.0f + 1.0f) + 4.712385f);
    const float after = std::trunc((r * r * 15.0f + 1.0f) + 4.712385f);
    ASSERT_GE(after, 5.0f);
    ASSERT_LE(after, 20.0f);
    EXPECT_EQ(oscillator.state->aux[0][60], r);
    EXPECT_NEAR(output[0], std::sin(before * (15.0f / 16.0f) * 6.28318f) * level * 0.7f, 1e-6f);
    for (int32_t i = 1; i < 8; ++i) {
      const float p = static_cast<float>(i - 1) / 16.0f;
      EXPECT_NEAR(output[i], std::sin(after * p * 6.28318f) * level * 0.7f, 1e-6f) << i;
    }
  }
}

// "Impulse": a pulse of height h at every wrap, times d at every step before it is added; the upper keys
// take two half steps per sample, each adding half. d = (1 - 20000 / 44100)^(44100 / rate): the pulse falls
// as much per second at every rate. h = 2 x (d' / (1 - d') / 44100) / (d / (1 - d) / rate), with d' the
// decay at 44.1 kHz: the pulse's sum over the rate stays that of 44.1 kHz, where h is 2 and d is d'.
TEST(AudioOscillator, ImpulseDecaysFromItsHeightAfterEveryWrap) {
  const float decayAt44k = 1.0f - 20000.0f / 44100.0f;
  for (float sampleRate : {44100.0f, 96000.0f}) {
    const float d = std::pow(decayAt44k, 44100.0f / sampleRate);
    const float h = 2.0f * ((decayAt44k / (1.0f - decayAt44k) / 44100.0f) / (d / (1.0f - d) / sampleRate));
    if (sampleRate == 44100.0f) {  // the same pulse as a decay of 1 - 20000 / rate per sample from 2
      ASSERT_EQ(d, 1.0f - 20000.0f / sampleRate);
      ASSERT_EQ(h, 2.0f);
    }
    for (int32_t key : {72, 73}) {
      Oscillator oscillator;
      oscillator.state->noteIncrement[key] = 1.0f / 16.0f;
      oscillator.state->phase[0][key] = 31.0f / 32.0f;
      oscillator.state->aux[0][key] = 0.5f;
      oscillator.keyTarget[key] = 0.05f;
      const std::vector<float> output = oscillator.render(40, 9, 1.0f, 0.9f, sampleRate);
      const int32_t subSteps = key >= 73 ? 2 : 1;
      float p = 31.0f / 32.0f;
      float pulse = 0.5f;
      for (int32_t i = 0; i < 40; ++i) {
        float expected = 0.0f;
        for (int32_t sub = 0; sub < subSteps; ++sub) {
          pulse *= d;
          expected += pulse * 0.05f * 0.9f * 4.0f / static_cast<float>(subSteps);
          const float next = fractionOf(p + 1.0f / 16.0f / static_cast<float>(subSteps));
          if (next < p) pulse = h;
          p = next;
        }
        ASSERT_NEAR(output[i], expected, 1e-6f) << "key " << key << " at " << sampleRate << " sample " << i;
      }
    }
  }
}

// "Noise": a fresh random number within plus and minus the key's target times send, every sample.
TEST(AudioOscillator, NoiseIsAFreshRandomNumberEverySample) {
  for (float send : {0.8f, -0.5f}) {
    Oscillator oscillator;
    oscillator.keyTarget[40] = 0.05f;
    const float g = 0.05f * send;
    std::vector<float> expected;
    const std::uint32_t seed = randomSeed.load();
    for (int i = 0; i < 16; ++i) {
      expected.push_back(nextRandom(-g, g));
      randomSeed.store(randomSeed.load() * 196314165u + 907633515u);
    }
    randomSeed.store(seed);
    const std::vector<float> output = oscillator.render(16, 10, 1.0f, send);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(output[i], expected[i]) << i;
  }
}

// The note table, entry by entry: ((f as float) x 2^-8 x 2^-8 / 1.338) x 2, f rising by 1.059463094359 per
// key from 8.175798915636872 Hz in double precision.
TEST(AudioOscillator, NoteTableFollowsItsFormula) {
  Oscillator oscillator;
  double f = 8.175798915636872;
  for (int32_t key = 0; key < 128; ++key) {
    EXPECT_EQ(oscillator.state->noteIncrement[key],
              (static_cast<float>(f) * 0.00390625f * 0.00390625f / 1.338f) * 2.0f)
        << key;
    f = f * 1.059463094359;
  }
}

// A released key of a smoothed shape plays while its level stays above 0.001.
TEST(AudioOscillator, ReleasedKeysPlayWhileTheirLevelIsAboveAThousandth) {
  for (int32_t shape : {0, 2, 4, 6, 8, 11, 12, 13, 14}) {
    Oscillator oscillator;
    oscillator.state->keyLevel[50] = 0.00101f;
    oscillator.state->keyLevel[60] = 0.00099f;
    oscillator.render(4, shape, 1.0f, 1.0f);
    EXPECT_LT(oscillator.state->keyLevel[50], 0.00101f) << shape;
    EXPECT_EQ(oscillator.state->keyLevel[60], 0.00099f) << shape;
  }
}

}  // namespace
