#include "plugin/engine/OutputStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// Limits frames samples of left and right; answers how many the limiter acted on.
int32_t limit(OutputLimiter& limiter, std::vector<float>& left, std::vector<float>& right, int32_t frames,
              float sampleRate = 44100.0f, std::vector<bool>* marks = nullptr) {
  std::unique_ptr<bool[]> limited = std::make_unique<bool[]>(frames);
  limiter.process(left.data(), right.data(), limited.get(), frames, sampleRate);
  if (marks) marks->assign(limited.get(), limited.get() + frames);
  return static_cast<int32_t>(std::count(limited.get(), limited.get() + frames, true));
}

TEST(OutputLimiter, LeavesQuietBlocksAloneAndScalesOnceTheEnvelopeReachesOne) {
  OutputLimiter limiter;
  std::vector<float> left(512, 0.25f);
  std::vector<float> right(512, -0.25f);
  EXPECT_EQ(limit(limiter, left, right, 512), 0);
  EXPECT_EQ(left.front(), 0.25f);
  EXPECT_EQ(right.back(), -0.25f);

  // Full scale on both channels: the envelope climbs toward 2 and passes 1 after about 10000 samples.
  OutputLimiter loud;
  std::vector<float> l(20000, 1.0f);
  std::vector<float> r(20000, 1.0f);
  std::vector<bool> marks;
  EXPECT_GT(limit(loud, l, r, 20000, 44100.0f, &marks), 0);
  // Reconstruct the envelope: samples pass unchanged until it reaches 1, then take its gain and are
  // marked.
  const float k = 3.0f / 44100.0f;
  float envelope = 0.0f;
  for (size_t i = 0; i < l.size(); ++i) {
    envelope = 2.0f * k + ((1.0f - k) * envelope + 1e-6f);
    const float expected = envelope >= 1.0f ? (1.0f / envelope) * 0.7f + 0.3f : 1.0f;
    ASSERT_FLOAT_EQ(l[i], expected) << i;
    ASSERT_EQ(marks[i], envelope >= 1.0f) << i;
  }
  EXPECT_LT(l.back(), 0.8f);
  EXPECT_EQ(l.back(), r.back());
}

TEST(OutputLimiter, MarksClearWhenABlockStaysBelowOneAndNonNumbersDoNotStick) {
  OutputLimiter limiter;
  std::vector<float> left(30000, 1.0f);
  std::vector<float> right(30000, 1.0f);
  EXPECT_GT(limit(limiter, left, right, 30000), 0);
  std::vector<float> silence(30000, 0.0f);
  std::vector<float> silence2(30000, 0.0f);
  limit(limiter, silence, silence2, 30000);
  EXPECT_EQ(limit(limiter, silence, silence2, 512), 0);

  std::vector<float> bad(4, std::nanf(""));
  std::vector<float> inf(4, INFINITY);
  limit(limiter, bad, inf, 4);
  EXPECT_TRUE(std::isfinite(limiter.envelope()));
}

TEST(OutputLimiter, SignalLevelOfSilenceRestsNearZeroWhileTheEnvelopeKeepsItsFloor) {
  for (float sampleRate : {22050.0f, 44100.0f, 192000.0f}) {
    OutputLimiter limiter;
    std::vector<float> left(static_cast<size_t>(sampleRate) * 4, 0.0f);
    std::vector<float> right(left.size(), 0.0f);
    limit(limiter, left, right, static_cast<int32_t>(left.size()), sampleRate);
    EXPECT_NEAR(limiter.envelope(), 1e-6f * sampleRate / 3.0f, 0.01f * limiter.envelope());
    EXPECT_LT(std::fabs(limiter.signalLevel()), 0.001f) << sampleRate;
  }
}

TEST(SilenceDetector, SleepsAfterFiveSecondsOfQuietPeriods) {
  SilenceDetector detector;
  for (int period = 1; period <= 6125; ++period)
    ASSERT_FALSE(detector.periodEnded(0.001f, 36, 44100.0f)) << period;
  EXPECT_TRUE(detector.periodEnded(0.001f, 36, 44100.0f));  // the 6126th: 220536 samples
  // Counting starts afresh, and a loud period restarts it.
  for (int period = 1; period <= 2000; ++period) ASSERT_FALSE(detector.periodEnded(0.001f, 36, 44100.0f));
  EXPECT_FALSE(detector.periodEnded(0.5f, 36, 44100.0f));
  for (int period = 1; period <= 6125; ++period) ASSERT_FALSE(detector.periodEnded(0.0f, 36, 44100.0f));
  EXPECT_TRUE(detector.periodEnded(0.0f, 36, 44100.0f));
}

// A note restarts the count: the five quiet seconds begin again where it starts.
TEST(SilenceDetector, RestartCountsTheFiveSecondsAfresh) {
  SilenceDetector detector;
  for (int period = 1; period <= 6000; ++period) ASSERT_FALSE(detector.periodEnded(0.001f, 36, 44100.0f));
  detector.restart();
  for (int period = 1; period <= 6125; ++period)
    ASSERT_FALSE(detector.periodEnded(0.001f, 36, 44100.0f)) << period;
  EXPECT_TRUE(detector.periodEnded(0.001f, 36, 44100.0f));
}

// Quiet time is what counts, not the number of periods: periods of other lengths (other sample rates), or
// pieces of changing lengths, still wait more than five seconds.
TEST(SilenceDetector, SleepsAfterFiveSecondsWhateverThePeriods) {
  const std::vector<std::vector<int32_t>> patterns = {{1, 511}, {1, 2, 7, 64, 512, 1024}, {4096}, {1}, {18},
                                                      {73}};
  for (const std::vector<int32_t>& sizes : patterns) {
    for (float sampleRate : {44100.0f, 96000.0f}) {
      SilenceDetector detector;
      int64_t samples = 0;
      for (size_t period = 0;; ++period) {
        const int32_t length = sizes[period % sizes.size()];
        samples += length;
        if (detector.periodEnded(0.001f, length, sampleRate)) break;
      }
      const int32_t largest = *std::max_element(sizes.begin(), sizes.end());
      EXPECT_GT(samples, static_cast<int64_t>(sampleRate) * 5) << sizes.size() << " sizes at " << sampleRate;
      EXPECT_LE(samples, static_cast<int64_t>(sampleRate) * 5 + largest)
          << sizes.size() << " sizes at " << sampleRate;
    }
  }
}

}  // namespace
