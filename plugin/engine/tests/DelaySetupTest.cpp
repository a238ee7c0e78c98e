#include "plugin/engine/DelaySetup.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plugin/engine/dsp/FastMath.h"

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

// Each delay type's four taps (factor and the four gains), scaled by the send's level.
TEST(DelaySetup, EveryTypeHasTheTapsOfItsRow) {
  struct Tap {
    float factor, ll, lr, rr, rl;
  };
  const Tap rows[9][4] = {
      {{1, 1, 0, 1, 0}},                                                 // "Simple"
      {{1, 0, 1, 0, 0}, {2, 0, 0, 1, 0}},                                // "Left-Right"
      {{1, 0, 1, 0, 0}, {2, 0, 0, 0, 1}},                                // "L-M-R"
      {{1, 1, 0, 0, -1}},                                                // "Rear"
      {{1, -1, 0, 1, 0}},                                                // "Rear-Front"
      {{1, 0, 0.666f, 0, 0}, {2, 0, -0.666f, 0, 0.666f}},                // "360°"
      {{1, 0, 0.5f, 0, 0}, {2, 0, 0, 0, 0.5f}, {3, 0.5f, 0, 0, -0.5f}},  // "360°Rear"
      {{0.02f, 0, 0.5f, 0, 0},
       {0.04f, 0, 0, 0, 0.5f},
       {0.08f, 0, 0.5f, 0, 0},
       {0.16f, 0, 0, 0, 0.5f}},  // "Resonator"
      {{0.07f, 0, 0.54f, 0, 0},
       {0.17f, 0, 0, 0, 0.48f},
       {0.19f, 0.44f, 0, 0, 0},
       {0.11f, 0, 0, 0.52f, 0}},  // "Spring"
  };
  for (float send : {1.0f, 0.7f}) {
    const float s = fastExp(-6.0f * (1.0f - send));
    for (int32_t type = 0; type < 18; ++type) {
      SCOPED_TRACE(testing::Message() << "type " << type << " send " << send);
      const DelaySetup setup = Values().set(DelaySend, send).entry(DelayType, type).setup();
      EXPECT_EQ(setup.postFilter, type >= 9);
      for (int32_t i = 0; i < DelayTaps::count; ++i) {
        const Tap& tap = rows[type % 9][i];
        EXPECT_EQ(setup.taps.factor[i], tap.factor) << i;
        EXPECT_FLOAT_EQ(setup.taps.ll[i], s * tap.ll) << i;
        EXPECT_FLOAT_EQ(setup.taps.lr[i], s * tap.lr) << i;
        EXPECT_FLOAT_EQ(setup.taps.rr[i], s * tap.rr) << i;
        EXPECT_FLOAT_EQ(setup.taps.rl[i], s * tap.rl) << i;
      }
    }
  }
}

// The delay length in beats of every "Delaysyn" entry, at two tempi and with a delay-time modulation.
TEST(DelaySetup, EverySyncEntryGivesItsLengthInBeats) {
  const float beats[12] = {0.0625f, 0.125f, 0.25f, 0.33333f, 0.5f, 0.6666f, 0.75f, 1, 1.5f, 2, 3, 4};
  for (int32_t entry = 0; entry < 12; ++entry) {
    for (float tempo : {120.0f, 97.0f}) {
      const float expected = 48000.0f * (beats[entry] * 0.8f * 60.0f / tempo);
      EXPECT_FLOAT_EQ(Values().entry(DelaySync, entry).setup(0.8f, tempo, 48000.0f).target, expected)
          << entry << " at " << tempo;
    }
    EXPECT_EQ(delaySyncBeats(entry), beats[entry]) << entry;
  }
}

// Input offsets ramp unless an LFO whose value jumps, or the step sequencer, feeds an input.
TEST(DelaySetup, OffsetsRampUnlessAJumpingShapeOrTheStepsFeedAnInput) {
  const bool jumps[15] = {false, false, true, true, false, false, true, false,
                          false, true,  true, true, true,  true,  false};
  for (int32_t lfo = 0; lfo < 2; ++lfo) {
    const int32_t destination = lfo == 0 ? Lfo1Destination : Lfo2Destination;
    const int32_t shape = lfo == 0 ? Lfo1Shape : Lfo2Shape;
    for (int32_t entry = 0; entry < 18; ++entry) {
      for (int32_t s = 0; s < 15; ++s) {
        const bool input = entry >= 13 && entry <= 15;
        EXPECT_EQ(Values().entry(destination, entry).entry(shape, s).setup().rampOffsets,
                  !(input && jumps[s]))
            << "LFO " << lfo + 1 << " destination " << entry << " shape " << s;
      }
    }
  }
  for (int32_t entry = 0; entry < 21; ++entry) {
    EXPECT_EQ(Values().entry(StepDestination, entry).setup().rampOffsets, !(entry >= 13 && entry <= 15))
        << entry;
  }
}

}  // namespace
