#include "plugin/engine/StepSequencer.h"
#include "plugin/engine/dsp/Random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

struct Sequencer {
  std::array<float, 16> steps{};
  double beats = 0.0;
  float lastFraction = 0.0f;
  float level = 0.0f;
  int32_t currentStep = -1;

  float tick(int32_t sync, int32_t shape, float tempo = 120.0f) {
    return stepSequencerTick(sync, shape, 36.0f, 44100.0f, tempo, steps.data(), beats, lastFraction, level,
                             currentStep);
  }
};

TEST(StepSequencer, PatternPeriodFollowsSyncAndTempo) {
  struct Case {
    int32_t sync;
    float patternsPerBeat;
    float tempo;
  };
  for (const Case& c : {Case{10, 1.0f, 120.0f}, Case{6, 0.25f, 120.0f}, Case{12, 2.0f, 100.0f},
                        Case{23, 0.0025380710f, 120.0f}, Case{0, 1.0f / 32, 150.0f}}) {
    Sequencer sequencer;
    const double ticksPerStep = 60.0 / c.tempo / c.patternsPerBeat / 16.0 * 44100.0 / 36.0;
    // Ticks at which the step changes, over one whole pattern.
    std::vector<int> changes;
    int32_t previous = 0;
    for (int tick = 1; changes.size() < 17; ++tick) {
      sequencer.tick(c.sync, 0, c.tempo);
      if (sequencer.currentStep != previous) changes.push_back(tick);
      previous = sequencer.currentStep;
    }
    const double measured = static_cast<double>(changes.back() - changes.front()) / 16.0;
    EXPECT_NEAR(measured, ticksPerStep, 0.1) << c.sync;
    EXPECT_FLOAT_EQ(stepPatternsPerBeat(c.sync), c.patternsPerBeat);
  }
}

TEST(StepSequencer, StepsCountFromZeroToFifteenAndWrap) {
  Sequencer sequencer;
  std::vector<int32_t> seen;
  for (int tick = 0; tick < 1300; ++tick) {  // a little over one beat at "1/4"
    sequencer.tick(10, 0);
    if (seen.empty() || seen.back() != sequencer.currentStep) seen.push_back(sequencer.currentStep);
  }
  ASSERT_GE(seen.size(), 17u);
  for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(seen[i], i);
  EXPECT_EQ(seen[16], 0);
}

TEST(StepSequencer, SharpestFollowsTheGatesAndPulseHalvesThem) {
  Sequencer sequencer;
  for (int i = 0; i < 16; i += 2) sequencer.steps[i] = 1.0f;
  for (int tick = 0; tick < 1200; ++tick) {
    const float sharp = sequencer.tick(10, 0);
    ASSERT_EQ(sharp, sequencer.currentStep % 2 == 0 ? 1.0f : 0.0f);
  }
  Sequencer pulse;
  pulse.steps.fill(1.0f);
  int high = 0;
  for (int tick = 0; tick < 1225; ++tick) high += pulse.tick(10, 15) == 1.0f ? 1 : 0;
  EXPECT_NEAR(high, 1225 / 2, 20);
}

TEST(StepSequencer, SoftShapesCrossfadeAcrossStepBoundaries) {
  Sequencer sequencer;
  sequencer.steps[1] = 1.0f;
  float maximum = 0.0f;
  bool between = false;
  for (int tick = 0; tick < 200; ++tick) {
    const float value = sequencer.tick(10, 4);
    maximum = std::max(maximum, value);
    between = between || (value > 0.1f && value < 0.9f);
  }
  EXPECT_NEAR(maximum, 1.0f, 0.05f);
  EXPECT_TRUE(between);
}

TEST(StepSequencer, ExponentialShapesRestartOnEveryGatedStepAndDecay) {
  Sequencer sequencer;
  sequencer.steps.fill(1.0f);
  std::vector<float> values;
  for (int tick = 0; tick < 80; ++tick) values.push_back(sequencer.tick(10, 5));
  // Early in the first step the level is held at 1 and decays once per tick.
  EXPECT_NEAR(values[0], 0.875f, 1e-6f);
  EXPECT_NEAR(values[1], 0.875f, 1e-6f);
  EXPECT_NEAR(values[2], 0.875f * 0.875f, 1e-6f);
  int restarts = 0;
  for (float v : values) restarts += v == 1.0f ? 1 : 0;
  EXPECT_GE(restarts, 2);
}

TEST(StepSequencer, ShapesOutsideTheMenuGiveZeroAndSyncStaysInTheTable) {
  Sequencer sequencer;
  sequencer.steps.fill(1.0f);
  EXPECT_EQ(sequencer.tick(10, 20), 0.0f);
  EXPECT_EQ(sequencer.tick(10, -1), 0.0f);
  EXPECT_FLOAT_EQ(stepPatternsPerBeat(-5), 1.0f / 32);
  EXPECT_FLOAT_EQ(stepPatternsPerBeat(99), 1.0f / 512);
}

TEST(StepSequencer, EverySyncEntryHasItsPatternsPerBeat) {
  const float patterns[25] = {1.0f / 32, 1.0f / 24, 1.0f / 16,  1.0f / 12,  1.0f / 8,   1.0f / 6,
                              1.0f / 4,  1.0f / 3,  0.5f,       0.75f,      1,          1.5f,
                              2,         3,         4,          6,          8,          1.0f / 48,
                              1.0f / 64, 1.0f / 96, 1.0f / 128, 1.0f / 192, 1.0f / 256, 0.0025380710f,
                              1.0f / 512};
  for (int32_t entry = 0; entry < 25; ++entry)
    EXPECT_FLOAT_EQ(stepPatternsPerBeat(entry), patterns[entry]) << entry;
}

// Every shape inside step 5 (k) at positions t across the step, with the neighbouring gates off-on-off and
// on-off-on, the level of the decaying shapes at 0.5 and no new step since the previous tick unless asked.
TEST(StepSequencer, EveryShapeGivesItsValueInsideAStep) {
  const auto edge = [](float t, float w, float previous, float current, float next) {
    if (t < w) return (0.5f - t / (2.0f * w)) * previous + (0.5f + t / (2.0f * w)) * current;
    if (t > 1.0f - w)
      return (t / (2.0f * w) + 0.5f - 1.0f / (2.0f * w)) * next +
             (1.0f / (2.0f * w) + 0.5f - t / (2.0f * w)) * current;
    return current;
  };
  for (float t : {0.03125f, 0.09375f, 0.1875f, 0.5f, 0.8125f, 0.90625f, 0.96875f}) {
    for (bool middleOn : {true, false}) {
      for (bool newStep : {false, true}) {
        for (int32_t shape = 0; shape <= 20; ++shape) {
          SCOPED_TRACE(testing::Message() << "shape " << shape << " t " << t << (middleOn ? " on" : " off")
                                          << (newStep ? " new step" : ""));
          Sequencer sequencer;
          const float g[3] = {middleOn ? 0.0f : 1.0f, middleOn ? 1.0f : 0.0f, middleOn ? 0.0f : 1.0f};
          sequencer.steps[4] = g[0];
          sequencer.steps[5] = g[1];
          sequencer.steps[6] = g[2];
          sequencer.beats = (5.0 + t) / 16.0;
          sequencer.lastFraction = newStep ? 0.99f : t - 0.01f;
          sequencer.level = 0.5f;
          const float u = static_cast<float>(lfoSeed.load() * 196314165u + 907633515u) * 4.66e-10f - 1.0f;
          float expected = 0.0f;
          float level = 0.5f;
          if (shape == 0) expected = g[1];
          if (shape >= 1 && shape <= 3)
            expected = edge(t, 1.0f / static_cast<float>(16 >> (shape - 1)), g[0], g[1], g[2]);
          if (shape == 4)
            expected =
                t < 0.5f ? (0.5f - t) * g[0] + (t + 0.5f) * g[1] : (t - 0.5f) * g[2] + (1.5f - t) * g[1];
          if ((shape >= 5 && shape <= 11) || (shape >= 17 && shape <= 19)) {
            const float decay =
                1.0f - std::pow(2.0f, -static_cast<float>(shape <= 11 ? shape - 2 : shape - 7));
            level = g[1] == 1.0f && newStep ? 1.0f : 0.5f * decay;
            expected = level;
          }
          if (shape == 12) expected = g[1] * (t < 0.5f ? 2.0f * t : 2.0f - 2.0f * t);
          if (shape == 13) expected = g[1] * t;
          if (shape == 14) expected = g[1] * (1.0f - t);
          if (shape == 15) expected = g[1] == 1.0f && t < 0.5f ? 1.0f : 0.0f;
          if (shape == 16) {
            if (g[1] == 1.0f && newStep) level = u * 0.5f + 0.5f;
            expected = g[1] * level;
          }
          EXPECT_NEAR(sequencer.tick(10, shape, 0.0f), expected, 1e-6f);
          EXPECT_EQ(sequencer.currentStep, 5);
          EXPECT_NEAR(sequencer.level, level, 1e-6f);
          EXPECT_EQ(sequencer.lastFraction, t);
        }
      }
    }
  }
}

// The decaying shapes hold their level at 1 early in the first step while step 1 is on.
TEST(StepSequencer, DecayingShapesStartAtOneEarlyInTheFirstStep) {
  for (int32_t shape : {5, 8, 11, 17, 19}) {
    Sequencer sequencer;
    sequencer.steps[0] = 1.0f;
    sequencer.beats = 0.03 / 16.0;
    sequencer.lastFraction = 0.02f;
    sequencer.level = 0.25f;
    const float decay = 1.0f - std::pow(2.0f, -static_cast<float>(shape <= 11 ? shape - 2 : shape - 7));
    EXPECT_FLOAT_EQ(sequencer.tick(10, shape, 0.0f), decay) << shape;
  }
}

}  // namespace
