#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/filters/FilterDesign.h"
#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/FilterSelection.h"
#include "plugin/engine/filters/FilterTypeMap.h"
#include "plugin/engine/tests/FilterTestSupport.h"

namespace {

using FilterTest::makeState;

constexpr float kSentinel = 7.25f;

void fill(FilterState& state, float value) {
  for (float& e : state.element) e = value;
}

struct Range {
  std::int32_t first, last;
};

// The elements outside every range keep value; those inside satisfy inside.
template <typename Inside>
void expectRanges(const FilterState& state, const std::vector<Range>& ranges, float value, Inside inside) {
  for (std::int32_t i = 0; i < FilterState::kSize; ++i) {
    bool in = false;
    for (const Range& r : ranges) in = in || (i >= r.first && i <= r.last);
    if (in) {
      ASSERT_TRUE(inside(i)) << "element " << i;
    } else {
      ASSERT_EQ(state.element[i], value) << "element " << i;
    }
  }
}

TEST(FilterTypeMap, MapsEveryMenuEntryAndNothingElse) {
  ASSERT_EQ(FilterTypeMap.size(), 58u);
  EXPECT_EQ(filterTypeForEntry(0), kNoFilterType);
  EXPECT_EQ(filterTypeForEntry(2), 42);   // "LP Moog24"
  EXPECT_EQ(filterTypeForEntry(46), 55);  // "Delay"
  EXPECT_EQ(filterTypeForEntry(57), 64);  // "Comb5"
  for (std::int32_t entry :
       {-1, 58, 99, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()}) {
    EXPECT_EQ(filterTypeForEntry(entry), kNoFilterType) << entry;
  }
  // Every entry but "Bypass" selects a filter.
  auto state = makeState();
  for (std::int32_t entry = 1; entry < 58; ++entry) {
    EXPECT_NE(selectFilterKernel(44100, FilterTypeMap[entry], 0.5f, 0.5f, state.get()), emptyKernel) << entry;
  }
}

TEST(FilterSelection, NoFilterWritesOnlyTheCommonSettings) {
  auto state = makeState();
  for (std::int32_t type : {255, 84, -1, std::numeric_limits<std::int32_t>::min(), 62, 67, 69, 71, 79}) {
    SCOPED_TRACE(type);
    fill(*state, kSentinel);
    EXPECT_EQ(selectFilterKernel(48000, type, 0.75f, 1.5f, state.get()), emptyKernel);
    EXPECT_EQ(state->element[FilterElement::type], static_cast<float>(type));
    EXPECT_EQ(state->element[FilterElement::sampleRate], 48000.0f);
    EXPECT_EQ(state->element[FilterElement::cutoff], 0.75f);
    EXPECT_EQ(state->element[FilterElement::resonance], 1.0f);
    expectRanges(*state, {{0, 3}}, kSentinel, [](std::int32_t) { return true; });
  }
}

TEST(FilterSelection, NoSampleRateSelectsNoFilter) {
  auto state = makeState();
  for (std::int32_t rate : {0, -44100}) {
    fill(*state, kSentinel);
    EXPECT_EQ(selectFilterKernel(rate, 56, 0.5f, 0.5f, state.get()), emptyKernel);
    expectRanges(*state, {{0, 3}}, kSentinel, [](std::int32_t) { return true; });
  }
}

TEST(FilterSelection, NonFiniteCutoffAndResonanceSelectAsZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  auto expected = makeState();
  auto actual = makeState();
  for (std::int32_t entry = 1; entry < 58; ++entry) {
    const std::int32_t type = FilterTypeMap[entry];
    SCOPED_TRACE(type);
    expected->clear();
    actual->clear();
    selectFilterKernel(44100, type, 0.0f, 0.0f, expected.get());
    selectFilterKernel(44100, type, nan, -inf, actual.get());
    for (std::int32_t i = 0; i < 60; ++i) ASSERT_EQ(actual->element[i], expected->element[i]) << i;
    selectFilterKernel(44100, type, 0.0f, 0.0f, expected.get());
    selectFilterKernel(44100, type, inf, nan, actual.get());
    for (std::int32_t i = 0; i < 60; ++i) ASSERT_EQ(actual->element[i], expected->element[i]) << i;
  }
}

TEST(FilterSelection, DelayLengthAndItsGlide) {
  auto state = makeState();
  // "Delay" at 44100 Hz with cutoff 1: the first selection after a reset plays its length at once.
  EXPECT_EQ(selectFilterKernel(44100, FilterTypeMap[46], 1.0f, 0.0f, state.get()), delayKernel);
  EXPECT_EQ(state->element[DelayLineElement::targetLength], 11025.0f);
  EXPECT_EQ(state->element[DelayLineElement::glideLength], 0.0f);
  EXPECT_EQ(state->element[FilterElement::family], 0.0f + FilterFamily::delay);

  // One control period later the new length glides in from the old one across the samples counted.
  std::vector<float> buffer(36, 0.0f);
  delayKernel(buffer.data(), 36, state.get());
  EXPECT_EQ(state->element[DelayLineElement::glideCount], 36.0f);
  selectFilterKernel(44100, FilterTypeMap[46], 0.5f, 0.0f, state.get());
  EXPECT_EQ(state->element[DelayLineElement::startLength], 11025.0f);
  EXPECT_EQ(state->element[DelayLineElement::targetLength], 5512.5f);
  EXPECT_EQ(state->element[DelayLineElement::glideLength], 36.0f);
  EXPECT_EQ(state->element[DelayLineElement::glideCount], 0.0f);
}

TEST(FilterSelection, ReverbTapsFromTheirWords) {
  auto state = makeState();
  EXPECT_EQ(selectFilterKernel(44100, FilterTypeMap[48], 1.0f, 0.6f, state.get()), reverbKernel);
  const float* e = state->element;
  EXPECT_EQ(e[ReverbElement::length], 11245.5f);
  EXPECT_EQ(e[ReverbElement::tapCount], 30.0f);
  EXPECT_EQ(e[ReverbElement::taps], 10478.0f);
  EXPECT_EQ(e[ReverbElement::taps + 1], 5136.0f);
  EXPECT_EQ(e[ReverbElement::taps + 2], 11068.0f);
  EXPECT_FLOAT_EQ(e[ReverbElement::tapFeedback], 2.0f * 0.6f / 30.0f);
  EXPECT_FLOAT_EQ(e[ReverbElement::damping], 38400.0f / 44100.0f);
  EXPECT_EQ(e[FilterElement::gain], 2.0f);

  // The small rooms have 8 taps; the largest word reaches about 1.95 times the length.
  selectFilterKernel(44100, FilterTypeMap[52], 1.0f, 0.6f, state.get());
  EXPECT_EQ(e[ReverbElement::tapCount], 8.0f);
  EXPECT_EQ(e[ReverbElement::taps + 5], static_cast<float>(11245 * 63976 / 32767));
}

TEST(FilterSelection, ResamplePeriod) {
  auto state = makeState();
  EXPECT_EQ(selectFilterKernel(44100, FilterTypeMap[41], 1.0f, 0.0f, state.get()), resampleKernel);
  EXPECT_EQ(state->element[ResampleElement::period], 1.0f);
  EXPECT_EQ(state->element[ResampleElement::inversePeriod], 1.0f);
  selectFilterKernel(44100, FilterTypeMap[41], 0.0f, 0.0f, state.get());
  EXPECT_EQ(state->element[ResampleElement::period], 292.0f);
}

TEST(FilterSelection, KernelAndFamilyOfEachKind) {
  const struct {
    std::int32_t type;
    FilterKernel kernel;
    std::int32_t family;
  } cases[] = {
      {0, biquadSerialKernel, 0},
      {15, biquadParallelKernel, 1},
      {18, biquadParallelKernel, 0},
      {70, biquadParallelKernel, 0},
      {23, biquadAllpassMixKernel, 2},
      {25, biquadAllpassMixKernel, 2},
      {28, svfKernel, 3},
      {31, svfKernel, 3},
      {80, saturatedSvfKernel, 3},
      {83, saturatedSvfKernel, 3},
      {32, resonatorKernel, 4},
      {33, combKernel, 5},
      {34, comb2Kernel, 6},
      {64, comb5Kernel, 6},
      {35, amKernel, 7},
      {36, vibratoKernel, 8},
      {40, vibratoKernel, 8},
      {41, resampleKernel, 9},
      {42, ladderKernel, 10},
      {54, ladderKernel, 10},
      {55, delayKernel, 11},
      {56, reverbKernel, 12},
      {61, reverbKernel, 12},
      {63, noisyLadderKernel, 14},
  };
  auto state = makeState();
  for (const auto& c : cases) {
    EXPECT_EQ(selectFilterKernel(44100, c.type, 0.5f, 0.5f, state.get()), c.kernel) << c.type;
    EXPECT_EQ(state->element[FilterElement::family], static_cast<float>(c.family)) << c.type;
  }
}

TEST(FilterSelection, SomeRecipesWrittenOut) {
  auto state = makeState();
  const float* e = state->element;
  // "LP SVF" at 44100 Hz.
  selectFilterKernel(44100, 28, 0.6f, 0.4f, state.get());
  EXPECT_EQ(e[SvfElement::frequency],
            2.0f * fastSine(normalisedFrequency(0.6f + 0.1f * 0.4f, 44100) * 0.405f * 3.14159f));
  EXPECT_EQ(e[SvfElement::damping], 1.0f - 0.95f * 0.4f);
  EXPECT_EQ(e[SvfElement::mixLow], 1.0f);
  // "LP Moog24": cutoff 1 at 44100 Hz sits at x = 20 * 0.45 = 9 on the ladder tables.
  selectFilterKernel(44100, 42, 1.0f, 0.5f, state.get());
  EXPECT_NEAR(e[LadderElement::k], 0.976f, 1e-5f);
  EXPECT_NEAR(e[LadderElement::p], (0.976f + 1.0f) * 0.5f, 1e-5f);
  EXPECT_NEAR(e[LadderElement::feedback], 120.0f * 0.5f * 0.008f, 1e-4f);
  EXPECT_EQ(e[LadderElement::mix + 4], 1.0f);
  // "Equalizer" designs a low shelf from 0.3 with quality c and a high shelf at 0.8 with quality r.
  selectFilterKernel(44100, 16, 0.25f, 0.75f, state.get());
  float b0, b1, b2, a1, a2;
  designFilterCoefficients(8, 0.8f, 0.75f, &b0, &b1, &b2, &a1, &a2, 44100);
  EXPECT_EQ(e[BiquadElement::setB], b0);
  EXPECT_EQ(e[BiquadElement::setB + 4], a2);
  EXPECT_FLOAT_EQ(e[FilterElement::gain], std::pow(2.0f, -0.75f - 0.25f));
  // "Resonator": length half a period of the cutoff frequency.
  selectFilterKernel(44100, 32, 0.5f, 1.0f, state.get());
  EXPECT_FLOAT_EQ(e[DelayLineElement::targetLength], 0.5f / normalisedFrequency(0.5f, 44100));
  EXPECT_EQ(e[DelayLineElement::feedback], 1.0f);
  EXPECT_FLOAT_EQ(e[FilterElement::gain], 0.1f * 0.8f);
}

// The state-variable low- and high-pass would become unstable below about 39.5 and 35.3 kHz; their
// frequency is held where the recursion keeps away from ringing at half the sample rate (its low-pass
// gain there, f^2 / (4 - f^2 - 2 f q), stays at most 4.5), which changes nothing from 44.1 kHz up.
TEST(FilterSelection, StateVariableFrequencyIsHeldStable) {
  auto state = makeState();
  const float* e = state->element;
  for (std::int32_t type : {28, 29}) {
    for (float c = 0.0f; c <= 1.0f; c += 0.02f) {
      for (float r = 0.0f; r <= 1.0f; r += 0.02f) {
        for (std::int32_t rate : {8000, 22050, 32000}) {
          selectFilterKernel(rate, type, c, r, state.get());
          const float f = e[SvfElement::frequency];
          const float q = e[SvfElement::damping];
          ASSERT_LE(f * f / (4.0f - f * f - 2.0f * f * q), 4.501f)
              << type << " " << c << " " << r << " " << rate;
        }
        for (std::int32_t rate : {44100, 48000, 96000}) {
          selectFilterKernel(rate, type, c, r, state.get());
          const float shift = type == 28 ? 0.1f : 0.15f;
          const float scale = type == 28 ? 0.405f : 0.3f;
          ASSERT_EQ(e[SvfElement::frequency],
                    2.0f * fastSine(normalisedFrequency(c + shift * r, rate) * scale * 3.14159f))
              << type << " " << c << " " << r << " " << rate;
        }
      }
    }
  }
  selectFilterKernel(32000, 28, 1.0f, 0.0f, state.get());
  const float a = 1.0f + 1.0f / 4.5f;  // a f^2 + 2 f q = 4 with q = 1
  EXPECT_NEAR(e[SvfElement::frequency], (std::sqrt(1.0f + 4.0f * a) - 1.0f) / a, 1e-6f);
}

// At full resonance the "Allpass" keeps a thousandth of damping, and only there: resonances from 0.95 up
// still sharpen, and the top frequency at 44.1 kHz stays as designed. The reverb's damping stays at 1
// where 38400 / rate would pass it. Both would let the feedback grow without limit.
TEST(FilterSelection, FeedbackStaysDamped) {
  auto state = makeState();
  const float* e = state->element;
  selectFilterKernel(44100, 31, 0.5f, 1.0f, state.get());
  EXPECT_EQ(e[SvfElement::damping], 0.001f);
  selectFilterKernel(44100, 31, 0.5f, 0.97f, state.get());
  EXPECT_EQ(e[SvfElement::damping], 1.0f - 0.97f);
  selectFilterKernel(44100, 31, 0.5f, 0.9f, state.get());
  EXPECT_FLOAT_EQ(e[SvfElement::damping], 0.1f);
  selectFilterKernel(44100, 31, 1.0f, 1.0f, state.get());
  EXPECT_NEAR(e[SvfElement::frequency], 2.0f * std::sin(0.45f * 3.14159f), 1e-3f);  // 1.975, not held lower
  for (std::int32_t rate : {8000, 22050, 32000, 38400}) {
    selectFilterKernel(rate, 56, 0.5f, 1.0f, state.get());
    EXPECT_EQ(e[ReverbElement::damping], 1.0f) << rate;
  }
  for (std::int32_t rate : {40000, 44100, 96000}) {
    selectFilterKernel(rate, 56, 0.5f, 1.0f, state.get());
    EXPECT_EQ(e[ReverbElement::damping], 38400.0f / static_cast<float>(rate)) << rate;
  }
}

// Which elements reset clears and copy transfers, by family (a representative type of each).
TEST(FilterSelection, ResetAndCopyRangesByFamily) {
  const std::int32_t ring = DelayLineElement::ring + DelayLineElement::ringSize - 1;
  const std::int32_t reverbRing = ReverbElement::ring + ReverbElement::ringSize - 1;
  const struct {
    std::int32_t type;
    std::vector<Range> reset;
    std::vector<Range> copy;
  } cases[] = {
      {0, {{30, 42}}, {{0, 14}, {20, 24}}},           // biquad pair
      {15, {{30, 42}}, {{0, 14}, {20, 24}}},          // parallel pair
      {23, {{30, 42}}, {{0, 14}, {20, 24}}},          // all-pass mix
      {28, {{20, 22}}, {{0, 14}}},                    // state-variable
      {32, {{20, ring}}, {{0, 17}}},                  // resonator
      {33, {{20, ring}}, {{0, 17}}},                  // comb
      {64, {{20, ring}}, {{0, 17}}},                  // multi-tap comb
      {55, {{20, ring}}, {{0, 17}}},                  // delay
      {35, {{20, 20}}, {{0, 11}}},                    // amplitude modulation
      {37, {{20, ring}}, {{0, 17}}},                  // vibrato
      {41, {{20, 22}}, {{0, 11}}},                    // resampler
      {42, {{20, 33}}, {{0, 17}}},                    // ladder
      {63, {{20, 33}}, {{0, 17}}},                    // noisy ladder
      {56, {{20, reverbRing}}, {{0, 14}, {30, 59}}},  // reverb, 30 taps
      {60, {{20, reverbRing}}, {{0, 14}, {30, 37}}},  // reverb, 8 taps
  };
  auto from = makeState();
  auto to = makeState();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    fill(*from, kSentinel);
    selectFilterKernel(44100, c.type, 0.5f, 0.5f, from.get());
    // Ranges that the selection left alone keep the sentinel in the copy as well.
    fill(*to, -1.0f);
    copyFilterSettings(from.get(), to.get());
    const FilterState& source = *from;
    expectRanges(*to, c.copy, -1.0f,
                 [&source, &to](std::int32_t i) { return to->element[i] == source.element[i]; });

    fill(*to, -1.0f);
    to->element[FilterElement::family] = from->element[FilterElement::family];
    resetFilterState(to.get());
    to->element[FilterElement::family] = -1.0f;
    expectRanges(*to, c.reset, -1.0f, [&to](std::int32_t i) { return to->element[i] == 0.0f; });
  }
}

TEST(FilterSelection, UnknownFamiliesResetAndCopyNothingMore) {
  auto from = makeState();
  auto to = makeState();
  for (float family : {-1.0f, 13.5f, 15.0f, 16.0f, 1e30f, std::numeric_limits<float>::quiet_NaN()}) {
    fill(*from, kSentinel);
    from->element[FilterElement::family] = family;
    fill(*to, -1.0f);
    resetFilterState(to.get());
    copyFilterSettings(from.get(), to.get());
    const bool thirteen = std::trunc(family) == 13.0f;
    for (std::int32_t i = 10; i < FilterState::kSize; ++i) {
      const bool copied = thirteen && i <= 17;
      ASSERT_EQ(to->element[i], copied ? kSentinel : -1.0f) << family << " " << i;
    }
  }
}

// The right state receives the left's settings at every tick and keeps its own history.
TEST(FilterSelection, LeftAndRightShareSettingsAndKeepTheirHistory) {
  for (std::int32_t type : {0, 28, 33, 42, 56, 36}) {
    SCOPED_TRACE(type);
    auto left = makeState();
    auto right = makeState();
    std::vector<float> l(36), r(36);
    for (int tick = 0; tick < 50; ++tick) {
      const float cutoff = 0.3f + 0.01f * static_cast<float>(tick);
      const FilterKernel kernel = selectFilterKernel(44100, type, cutoff, 0.6f, left.get());
      copyFilterSettings(left.get(), right.get());
      for (int i = 0; i < 36; ++i) {
        l[i] = std::sin(0.05f * static_cast<float>(tick * 36 + i));
        r[i] = 0.5f * std::cos(0.11f * static_cast<float>(tick * 36 + i));
      }
      kernel(l.data(), 36, left.get());
      kernel(r.data(), 36, right.get());
    }
    selectFilterKernel(44100, type, 0.8f, 0.6f, left.get());
    copyFilterSettings(left.get(), right.get());
    for (std::int32_t i = 0; i < 20; ++i) ASSERT_EQ(left->element[i], right->element[i]) << i;
    int differing = 0;
    for (std::int32_t i = 20; i < FilterState::kSize; ++i) {
      const bool parameter = type == 0 && i <= 24;  // set B of a biquad pair
      const bool tap = type == 56 && i >= 30 && i < 60;
      if (parameter || tap) {
        ASSERT_EQ(left->element[i], right->element[i]) << i;
      } else if (left->element[i] != right->element[i]) {
        ++differing;
      }
    }
    EXPECT_GT(differing, 0);
  }
}

}  // namespace
