#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "plugin/engine/filters/FilterSelection.h"
#include "plugin/engine/filters/FilterTypeMap.h"
#include "plugin/engine/tests/FilterTestSupport.h"

namespace {

// What one run of a filter setting produced.
struct RunResult {
  bool finite = true;
  double noisePeak = 0.0;  // largest output while fed with noise
  double tailPeak = 0.0;   // largest output in the last quarter second of silence after the impulse
};

// Runs one filter setting as the engine does: a selection at every control tick (the first one followed by
// a reset, as after a change of type), noise for some seconds, then an impulse and a second of silence.
RunResult runSetting(std::int32_t sampleRate, std::int32_t type, float cutoff, float resonance,
                     FilterState& state, std::vector<float>& buffer) {
  const std::int32_t period = sampleRate / 1200;
  const std::int32_t noiseSamples = sampleRate * 3;
  const std::int32_t total = noiseSamples + sampleRate;
  const std::int32_t tailStart = total - sampleRate / 4;
  std::uint32_t seed = 12345u;
  state.clear();
  RunResult run;
  for (std::int32_t start = 0; start < total; start += period) {
    const FilterKernel kernel = selectFilterKernel(sampleRate, type, cutoff, resonance, &state);
    if (start == 0) resetFilterState(&state);
    for (std::int32_t i = 0; i < period; ++i) {
      const std::int32_t n = start + i;
      if (n < noiseSamples) {
        seed = seed * 1664525u + 1013904223u;
        buffer[i] = static_cast<float>(seed >> 8) * (2.0f / 16777216.0f) - 1.0f;
      } else {
        buffer[i] = n == noiseSamples ? 1.0f : 0.0f;
      }
    }
    kernel(buffer.data(), period, &state);
    for (std::int32_t i = 0; i < period; ++i) {
      const double v = std::fabs(buffer[i]);
      if (!std::isfinite(buffer[i])) run.finite = false;
      if (start + i < noiseSamples) run.noisePeak = std::fmax(run.noisePeak, v);
      if (start + i >= tailStart) run.tailPeak = std::fmax(run.tailPeak, v);
    }
  }
  return run;
}

// Every menu entry over a grid of settings and sample rates: the output stays finite, its level stays far
// from overflow (the sharpest resonances reach a few hundred), and after the input stops it does not grow.
TEST(FilterStability, EveryMenuEntryStaysFiniteAndBounded) {
  auto state = FilterTest::makeState();
  std::vector<float> buffer(256);
  for (std::int32_t entry = 0; entry < static_cast<std::int32_t>(FilterTypeMap.size()); ++entry) {
    for (std::int32_t sampleRate : {22050, 40000, 44100, 48000, 96000}) {
      for (float cutoff : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
        for (float resonance : {0.0f, 0.5f, 0.9f, 1.0f}) {
          const RunResult run =
              runSetting(sampleRate, FilterTypeMap[entry], cutoff, resonance, *state, buffer);
          SCOPED_TRACE(testing::Message() << "entry " << entry << " at " << sampleRate << " Hz, cutoff "
                                          << cutoff << ", resonance " << resonance);
          ASSERT_TRUE(run.finite);
          EXPECT_LT(run.noisePeak, 1000.0);
          EXPECT_LT(run.tailPeak, 5.0);
          EXPECT_LE(run.tailPeak, run.noisePeak);
        }
      }
    }
  }
}

}  // namespace
