#include "plugin/engine/DelaySetup.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterMenu.h"

namespace {

using namespace ParameterIndex;

struct Values {
  float v[count] = {};

  Values() {
    v[DelaySend] = 1.0f;
    v[DelaySync] = encodeMenuEntry(7);  // "BPM x1"
  }
  Values& set(int32_t index, float value) {
    v[index] = value;
    return *this;
  }
  Values& entry(int32_t index, int32_t menuEntry) { return set(index, encodeMenuEntry(menuEntry)); }
  DelaySetup setup(float modulation = 1.0f, float tempo = 120.0f, float sampleRate = 44100.0f) const {
    return computeDelaySetup(v, modulation, tempo, sampleRate);
  }
};

TEST(DelaySetup, TargetLengthFollowsSyncTempoAndModulation) {
  EXPECT_FLOAT_EQ(Values().setup().target, 22050.0f);
  EXPECT_FLOAT_EQ(Values().entry(DelaySync, 11).setup().target, 88200.0f);  // "BPM x0.25"
  EXPECT_FLOAT_EQ(Values().entry(DelaySync, 11).setup(1.0f, 30.0f, 192000.0f).target, 262143.0f);
  EXPECT_FLOAT_EQ(Values().setup(1.5f).target, 33075.0f);
  EXPECT_FLOAT_EQ(Values().setup(-1.0f).target, 0.0f);
  EXPECT_FLOAT_EQ(Values().setup(1.0f, 0.0f).target, 262143.0f);
}

TEST(DelaySetup, SyncEntriesWrapAroundTheTwelveEntries) {
  EXPECT_FLOAT_EQ(Values().entry(DelaySync, 13).setup().target, Values().entry(DelaySync, 1).setup().target);
  EXPECT_FLOAT_EQ(delaySyncBeats(12), 0.0625f);
  EXPECT_FLOAT_EQ(delaySyncBeats(-1), 4.0f);
  EXPECT_FLOAT_EQ(delaySyncBeats(-13), 4.0f);
  EXPECT_FLOAT_EQ(delayTargetLength(44100.0f, 1.0f, 1.0f, std::nanf("")), 0.0f);
}

TEST(DelaySetup, SendScalesTheTapGainsAndSilencesThemBelowOnePercent) {
  const DelaySetup full = Values().entry(DelayType, 5).setup();  // "360° fb"
  EXPECT_FALSE(full.postFilter);
  EXPECT_FLOAT_EQ(full.taps.factor[1], 2.0f);
  EXPECT_FLOAT_EQ(full.taps.lr[1], -0.666f);
  EXPECT_FLOAT_EQ(full.taps.rl[1], 0.666f);

  const DelaySetup silent = Values().entry(DelayType, 5).set(DelaySend, 0.005f).setup();
  for (int32_t i = 0; i < DelayTaps::count; ++i) {
    EXPECT_EQ(silent.taps.ll[i] + silent.taps.lr[i] + silent.taps.rr[i] + silent.taps.rl[i], 0.0f);
  }
  const DelaySetup half = Values().set(DelaySend, 0.5f).setup();
  EXPECT_NEAR(half.taps.ll[0], 0.0499f, 0.001f);  // fastExp(-3)
  const DelaySetup beyond = Values().set(DelaySend, 40.0f).setup();
  EXPECT_FLOAT_EQ(beyond.taps.ll[0], 1.0f);
}

TEST(DelaySetup, UpperTypesPlaceTheSameTapsAfterTheFilters) {
  for (int32_t type = 0; type < 9; ++type) {
    const DelaySetup before = Values().entry(DelayType, type).setup();
    const DelaySetup after = Values().entry(DelayType, type + 9).setup();
    EXPECT_FALSE(before.postFilter);
    EXPECT_TRUE(after.postFilter);
    for (int32_t i = 0; i < DelayTaps::count; ++i) {
      EXPECT_EQ(before.taps.factor[i], after.taps.factor[i]);
      EXPECT_EQ(before.taps.rl[i], after.taps.rl[i]);
    }
  }
  // Entries past the menu stay inside the table.
  EXPECT_FLOAT_EQ(Values().entry(DelayType, 60).setup().taps.factor[3], 0.11f);
  EXPECT_FLOAT_EQ(Values().set(DelayType, -0.5f).setup().taps.factor[0], 1.0f);
}

TEST(DelaySetup, OffsetsAreRampedUnlessAnInputSourceCanJump) {
  EXPECT_TRUE(Values().setup().rampOffsets);
  EXPECT_FLOAT_EQ(Values().setup(1.0f, 120.0f, 48000.0f).dcCoefficient, 10.0f / 48000.0f);
  EXPECT_TRUE(Values().entry(Lfo1Destination, 13).entry(Lfo1Shape, 4).setup().rampOffsets);    // "Sin"
  EXPECT_FALSE(Values().entry(Lfo1Destination, 13).entry(Lfo1Shape, 2).setup().rampOffsets);   // "Saw Up"
  EXPECT_FALSE(Values().entry(Lfo2Destination, 15).entry(Lfo2Shape, 10).setup().rampOffsets);  // "Noise"
  EXPECT_TRUE(Values().entry(Lfo2Destination, 12).entry(Lfo2Shape, 10).setup().rampOffsets);   // "Panning"
  EXPECT_FALSE(Values().entry(StepDestination, 14).setup().rampOffsets);
}

}  // namespace
