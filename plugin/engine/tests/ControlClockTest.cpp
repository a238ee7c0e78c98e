#include "plugin/engine/ControlClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Whether the sample at a position in the stream is marked: a sparse pattern that falls anywhere in the
// periods.
bool markedAt(int64_t position) {
  return position % 97 == 5;
}

// Runs blocks through a clock whose periods are filled with their positions in the stream (left) and
// the number of the tick before them (right), marked by markedAt, and records where the ticks fall, in
// samples from the start, and what each block answers.
struct Recording {
  std::vector<int64_t> ticks;
  std::vector<int32_t> pieces;
  std::vector<float> left;
  std::vector<float> right;
  std::vector<bool> answers;
  int64_t rendered = 0;
  bool stopped = false;  // the ticks answer that the clock stops

  void runBlock(ControlClock& clock, int32_t frames, int32_t period) {
    const size_t start = left.size();
    left.resize(start + frames, -1.0f);
    right.resize(start + frames, -1.0f);
    answers.push_back(clock.run(
        left.data() + start, right.data() + start, frames, period,
        [&](int32_t count, float* l, float* r, bool* marks) {
          for (int32_t i = 0; i < count; ++i) {
            l[i] = static_cast<float>(rendered + i);
            r[i] = static_cast<float>(ticks.size());
            marks[i] = markedAt(rendered + i);
          }
          rendered += count;
          pieces.push_back(count);
        },
        [&] {
          if (stopped) return false;
          ticks.push_back(rendered);
          return true;
        }));
  }
};

// Ticks one period apart from the first sample on; every sample handed out once, in order, rendered
// after the tick of its period.
void expectTicksEveryPeriod(const Recording& recording, int32_t period) {
  ASSERT_FALSE(recording.ticks.empty());
  EXPECT_EQ(recording.ticks.front(), 0);
  for (size_t i = 1; i < recording.ticks.size(); ++i) {
    ASSERT_EQ(recording.ticks[i] - recording.ticks[i - 1], period) << "tick " << i;
  }
  for (int32_t piece : recording.pieces) ASSERT_EQ(piece, period);
  const int64_t handedOut = static_cast<int64_t>(recording.left.size());
  EXPECT_GT(recording.ticks.back() + period, handedOut - 1);
  EXPECT_LE(recording.ticks.back(), handedOut - 1);
  for (int64_t i = 0; i < handedOut; ++i) {
    ASSERT_EQ(recording.left[i], static_cast<float>(i)) << i;
    ASSERT_EQ(recording.right[i], static_cast<float>(i / period + 1)) << i;
  }
}

TEST(ControlClock, TicksStayOnePeriodApartForEveryBlockSize) {
  for (int32_t period : {36, 40, 80, 1}) {
    for (int32_t frames : {1, 2, 7, 12, 16, 18, 35, 36, 37, 64, 72, 512, 4096}) {
      ControlClock clock(80);
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
  ControlClock clock(36);
  Recording recording;
  for (int block = 0; block < 2000; ++block) recording.runBlock(clock, size(random), 36);
  expectTicksEveryPeriod(recording, 36);
}

TEST(ControlClock, FirstBlockTicksAtOnceAndCarriesTheRemainder) {
  ControlClock clock(36);
  Recording recording;
  recording.runBlock(clock, 100, 36);
  EXPECT_EQ(recording.pieces, (std::vector<int32_t>{36, 36, 36}));
  EXPECT_EQ(recording.ticks, (std::vector<int64_t>{0, 36, 72}));
  EXPECT_EQ(clock.samplesSinceLastTick(), 28);

  // The next block starts with the 8 held samples of the third period, then ticks.
  recording.runBlock(clock, 100, 36);
  EXPECT_EQ(recording.pieces.size(), 6u);
  EXPECT_EQ(recording.ticks[3], 108);
  EXPECT_EQ(recording.right[107], 3.0f);
  EXPECT_EQ(recording.right[108], 4.0f);
}

TEST(ControlClock, BlockEndingOnATickLeavesAWholePeriodAndTheNextBlockTicksFirst) {
  ControlClock clock(36);
  Recording recording;
  recording.runBlock(clock, 72, 36);
  EXPECT_EQ(clock.samplesSinceLastTick(), 36);
  recording.runBlock(clock, 10, 36);
  EXPECT_EQ(recording.ticks.back(), 72);
  EXPECT_EQ(clock.samplesSinceLastTick(), 10);
}

// A tick that answers false stops the clock where the period before it ends: the rest of the block is
// silent, so are the blocks while it stays stopped, and the first block afterwards ticks at once.
TEST(ControlClock, StopsAtATickAndStartsAgainWithOne) {
  ControlClock clock(36);
  Recording recording;
  recording.runBlock(clock, 100, 36);  // three periods, the third one held after 28 samples
  recording.stopped = true;
  recording.runBlock(clock, 20, 36);  // the 8 held samples, then silence
  EXPECT_EQ(recording.right[107], 3.0f);
  for (size_t i = 108; i < 120; ++i) ASSERT_EQ(recording.left[i], 0.0f) << i;
  recording.runBlock(clock, 50, 36);
  for (size_t i = 120; i < 170; ++i) ASSERT_EQ(recording.right[i], 0.0f) << i;
  EXPECT_EQ(recording.ticks.size(), 3u);

  recording.stopped = false;
  recording.runBlock(clock, 50, 36);
  EXPECT_EQ(recording.ticks.size(), 5u);
  EXPECT_EQ(recording.ticks[3], 108);  // the fourth period is the first rendered after the stop
  EXPECT_EQ(recording.right[170], 4.0f);
  EXPECT_EQ(recording.left[170], 108.0f);
}

// Each block answers whether it handed out a marked sample: one of a period it rendered itself or of
// the held rest of an earlier period, never one still held for a later block.
TEST(ControlClock, EachBlockTellsWhetherItHandedOutAMarkedSample) {
  for (int32_t frames : {1, 2, 7, 16, 32, 35, 36, 37, 100, 512}) {
    ControlClock clock(36);
    Recording recording;
    for (int block = 0; block < 400; ++block) recording.runBlock(clock, frames, 36);
    int32_t marked = 0;
    for (size_t block = 0; block < recording.answers.size(); ++block) {
      const auto first = recording.left.begin() + static_cast<int64_t>(block) * frames;
      const bool expected = std::any_of(
          first, first + frames, [](float position) { return markedAt(static_cast<int64_t>(position)); });
      ASSERT_EQ(recording.answers[block], expected) << "block " << block << " of " << frames;
      marked += expected ? 1 : 0;
    }
    EXPECT_GT(marked, 0) << frames;
  }
}

// The held rest that plays as silence carries no marks either.
TEST(ControlClock, SilencedHeldSamplesAreNotMarked) {
  ControlClock clock(36);
  Recording recording;
  recording.runBlock(clock, 100, 36);  // hands out positions up to 99; 100 .. 107 are held, 102 marked
  clock.silenceHeld();
  recording.stopped = true;
  recording.runBlock(clock, 8, 36);
  EXPECT_FALSE(recording.answers.back());
  for (size_t i = 100; i < 108; ++i) ASSERT_EQ(recording.left[i], 0.0f) << i;
}

// A period longer than the held buffers is cut to their length.
TEST(ControlClock, PeriodsLongerThanTheCapacityAreCut) {
  ControlClock clock(40);
  Recording recording;
  for (int block = 0; block < 10; ++block) recording.runBlock(clock, 7, 100);
  expectTicksEveryPeriod(recording, 40);
}

}  // namespace
