#include "plugin/engine/ControlClock.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Runs blocks through a clock and records where the pieces and ticks fall, in samples from the start.
struct Recording {
  std::vector<int64_t> ticks;
  std::vector<int32_t> pieces;
  int64_t rendered = 0;
  bool contiguous = true;
  int32_t longestPiece = 0;

  void runBlock(ControlClock& clock, int32_t frames, int32_t period) {
    const int64_t blockStart = rendered;
    clock.run(
        frames, period,
        [&](int32_t count, int32_t offset) {
          contiguous = contiguous && blockStart + offset == rendered;
          rendered += count;
          pieces.push_back(count);
          longestPiece = std::max(longestPiece, count);
        },
        [&] { ticks.push_back(rendered); });
    contiguous = contiguous && rendered == blockStart + frames;
  }
};

void expectTicksEveryPeriod(const Recording& recording, int32_t period) {
  ASSERT_FALSE(recording.ticks.empty());
  EXPECT_EQ(recording.ticks.front(), 0);
  for (size_t i = 1; i < recording.ticks.size(); ++i) {
    ASSERT_EQ(recording.ticks[i] - recording.ticks[i - 1], period) << "tick " << i;
  }
  EXPECT_GT(recording.ticks.back() + period, recording.rendered - 1);
  EXPECT_TRUE(recording.contiguous);
  EXPECT_LE(recording.longestPiece, period);
}

TEST(ControlClock, TicksStayOnePeriodApartForEveryBlockSize) {
  for (int32_t period : {36, 40, 80, 1}) {
    for (int32_t frames : {1, 12, 16, 18, 35, 36, 37, 64, 72, 512, 4096}) {
      ControlClock clock;
      Recording recording;
      for (int block = 0; block < 200; ++block) recording.runBlock(clock, frames, period);
      SCOPED_TRACE(testing::Message() << "period " << period << " frames " << frames);
      expectTicksEveryPeriod(recording, period);
    }
  }
}

TEST(ControlClock, TicksStayOnePeriodApartWithRandomBlockSizes) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int32_t> size(1, 700);
  ControlClock clock;
  Recording recording;
  for (int block = 0; block < 2000; ++block) recording.runBlock(clock, size(random), 36);
  expectTicksEveryPeriod(recording, 36);
}

TEST(ControlClock, FirstBlockTicksAtOnceAndCarriesTheRemainder) {
  ControlClock clock;
  Recording recording;
  recording.runBlock(clock, 100, 36);
  EXPECT_EQ(recording.pieces, (std::vector<int32_t>{0, 36, 36, 28}));
  EXPECT_EQ(recording.ticks, (std::vector<int64_t>{0, 36, 72}));
  EXPECT_EQ(clock.samplesSinceLastTick(), 28);

  recording.pieces.clear();
  recording.runBlock(clock, 100, 36);
  EXPECT_EQ(recording.pieces.front(), 8);
  EXPECT_EQ(recording.ticks[3], 108);
}

TEST(ControlClock, BlockEndingOnATickLeavesAWholePeriodAndTheNextBlockTicksFirst) {
  ControlClock clock;
  Recording recording;
  recording.runBlock(clock, 72, 36);
  EXPECT_EQ(clock.samplesSinceLastTick(), 36);
  recording.pieces.clear();
  recording.runBlock(clock, 10, 36);
  EXPECT_EQ(recording.pieces, (std::vector<int32_t>{0, 10}));
  EXPECT_EQ(recording.ticks.back(), 72);
}

}  // namespace
