#include <gtest/gtest.h>

#include "host/core/Sync.h"

namespace Ombix::Kelvane {
namespace {

struct AdvanceCase {
  int frames;
  int bar;
  int beat;
  double fraction;
};

class SyncAdvance : public testing::TestWithParam<AdvanceCase> {};

TEST_P(SyncAdvance, OneBlockFromTheStart) {
  const AdvanceCase& c = GetParam();
  Sync sync;
  sync.Advance(c.frames);
  EXPECT_EQ(sync.Position().samplePosition, c.frames);
  EXPECT_EQ(sync.Position().bar, c.bar);
  EXPECT_EQ(sync.Position().beat, c.beat);
  EXPECT_NEAR(sync.Position().beatFraction, c.fraction, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Blocks, SyncAdvance,
                         testing::Values(AdvanceCase{22050, 0, 1, 0.0}, AdvanceCase{88200, 1, 0, 0.0},
                                         AdvanceCase{100000, 1, 0, 100000.0 / 22050.0 - 4.0},
                                         AdvanceCase{256, 0, 0, 256.0 / 22050.0}, AdvanceCase{0, 0, 0, 0.0}));

TEST(Sync, StartsAtTheDefaults) {
  const Sync sync;
  const TransportPosition& p = sync.Position();
  EXPECT_EQ(p.samplePosition, 0);
  EXPECT_EQ(p.tempo, 120.0);
  EXPECT_EQ(p.sampleRate, 44100.0);
  EXPECT_EQ(p.numerator, 4);
  EXPECT_EQ(p.denominator, 4);
  EXPECT_DOUBLE_EQ(sync.BeatsPerSample(), 2.0 / 44100.0);
}

TEST(Sync, ManySmallBlocksAddUpLikeOneLargeBlock) {
  Sync sync;
  for (int i = 0; i < 1000; ++i) sync.Advance(441);  // 441000 frames = 20 beats = 5 bars
  EXPECT_EQ(sync.Position().bar, 5);
  EXPECT_EQ(sync.Position().beat, 0);
  EXPECT_LT(std::min(sync.Position().beatFraction, 1.0 - sync.Position().beatFraction), 1e-6);
}

TEST(Sync, SampleRateChangeKeepsThePositionAndChangesOnlyTheSpeed) {
  Sync sync;
  sync.Advance(33075);  // one and a half beats
  sync.SetSampleRate(48000.0);
  EXPECT_EQ(sync.Position().samplePosition, 33075);
  EXPECT_EQ(sync.Position().beat, 1);
  EXPECT_NEAR(sync.Position().beatFraction, 0.5, 1e-9);
  EXPECT_DOUBLE_EQ(sync.BeatsPerSample(), 2.0 / 48000.0);
  sync.Advance(12000);  // half a beat at 48 kHz
  EXPECT_EQ(sync.Position().beat, 2);
  EXPECT_NEAR(sync.Position().beatFraction, 0.0, 1e-9);
}

TEST(Sync, ARateOfZeroIsIgnored) {
  Sync sync;
  sync.SetSampleRate(0.0);
  EXPECT_EQ(sync.Position().sampleRate, 44100.0);
  sync.Advance(22050);
  EXPECT_EQ(sync.Position().beat, 1);
}

}  // namespace
}  // namespace Ombix::Kelvane
