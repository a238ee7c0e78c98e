#include "plugin/engine/StepSequencer.h"

#include <gtest/gtest.h>

#include <array>
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

}  // namespace
