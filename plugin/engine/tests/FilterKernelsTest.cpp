#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/Random.h"
#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/FilterSelection.h"
#include "plugin/engine/tests/FilterTestSupport.h"

namespace {

using FilterTest::Complex;
using FilterTest::makeState;
using FilterTest::unitDelay;

// The response of the state-variable recursion low' = low + f band, high = g x - low' - q band,
// band' = band + f high, mixed as mixLow low' + mixBand band' + mixHigh high.
Complex stateVariableResponse(double f, double q, double g, double mixLow, double mixBand, double mixHigh,
                              double w) {
  const Complex z1 = unitDelay(w);
  const Complex band = f * g / ((1.0 - z1) + f * f * z1 / (1.0 - z1) + f * q * z1);
  const Complex low = f * z1 * band / (1.0 - z1);
  const Complex high = g - low - q * z1 * band;
  return mixLow * low + mixBand * band + mixHigh * high;
}

// A linearly interpolated delay of d samples.
Complex fractionalDelay(double d, double w) {
  const double whole = std::trunc(d);
  const double fraction = d - whole;
  return (1.0 - fraction) * std::pow(unitDelay(w), whole) + fraction * std::pow(unitDelay(w), whole + 1.0);
}

// What each kind of kernel should do, computed from the parameters the selection stored.
Complex expectedResponse(std::int32_t family, FilterKernel kernel, const FilterState& state, double w) {
  const float* e = state.element;
  const double gain = e[FilterElement::gain];
  if (family <= FilterFamily::biquadAllpassMix) {
    const Complex a = FilterTest::biquadResponse(state, BiquadElement::setA, w);
    const Complex b = FilterTest::biquadResponse(state, BiquadElement::setB, w);
    if (kernel == biquadSerialKernel) return a * b * gain;
    if (kernel == biquadParallelKernel) return (a + b) * gain;
    return (b * a - a + 1.0) * gain;
  }
  if (family == FilterFamily::stateVariable) {
    return stateVariableResponse(e[SvfElement::frequency], e[SvfElement::damping], gain,
                                 e[SvfElement::mixLow], e[SvfElement::mixBand], e[SvfElement::mixHigh], w);
  }
  if (family == FilterFamily::ladder) {
    const Complex z1 = unitDelay(w);
    const double p = e[LadderElement::p];
    const double k = e[LadderElement::k];
    const Complex stage = p * (1.0 + z1) / (1.0 + k * z1);
    const Complex input = 1.0 / (1.0 + double(e[LadderElement::feedback]) * z1 * std::pow(stage, 4.0));
    Complex mix = 0.0;
    for (int i = 4; i >= 0; --i) mix = mix * stage + double(e[LadderElement::mix + i]);
    return mix * input * gain;
  }
  if (family == FilterFamily::vibrato) {
    // With no depth the vibrato reads its damped low-pass two samples late.
    return stateVariableResponse(e[VibratoElement::inputCoefficient], 0.999, 1.0, 1.0, 0.0, 0.0, w) *
           std::pow(unitDelay(w), 2.0);
  }
  if (family == FilterFamily::reverb) {
    const std::int32_t taps = static_cast<std::int32_t>(e[ReverbElement::tapCount]);
    Complex tapSum = 0.0;
    for (std::int32_t k = 0; k < taps; ++k) {
      const Complex tap = std::pow(unitDelay(w), double(e[ReverbElement::taps + k]));
      tapSum += k < taps / 2 ? tap : -tap;
    }
    const double damping = e[ReverbElement::damping];
    const Complex memory =
        double(e[ReverbElement::tapFeedback]) * damping / (1.0 - (1.0 - damping) * unitDelay(w));
    return tapSum / (1.0 + tapSum * memory) * double(e[ReverbElement::outputScale]) * gain;
  }
  // Delay lines: y = x + P ring, ring = x + phi y.
  const double d = e[DelayLineElement::targetLength];
  const double feedback = e[DelayLineElement::feedback];
  const Complex d1 = fractionalDelay(d, w);
  if (kernel == delayKernel) return d1;
  if (kernel == combKernel) return 0.5 * (1.0 + d1) / (1.0 - feedback * d1) * gain;
  Complex p = -d1;
  double phi = feedback;
  if (kernel == comb2Kernel) {
    p = -d1 + fractionalDelay(2.0 * d, w);
    phi = feedback * 0.49;
  } else if (kernel == comb5Kernel) {
    p = -d1 + fractionalDelay(2.0 * d, w) - fractionalDelay(3.0 * d, w) + fractionalDelay(4.0 * d, w);
    phi = feedback * 0.25;
  }
  return (1.0 + p) / (1.0 - phi * p) * gain;
}

struct ResponseCase {
  std::string name;
  std::int32_t type;
  float cutoff;
  float resonance;
  std::int32_t length;
};

void PrintTo(const ResponseCase& c, std::ostream* os) {
  *os << c.name;
}

class MeasuredResponse : public testing::TestWithParam<ResponseCase> {};

// An impulse through the kernel has the magnitude response that its stored coefficients describe.
TEST_P(MeasuredResponse, MatchesTheDesignedResponse) {
  const ResponseCase& c = GetParam();
  auto state = makeState();
  const FilterKernel kernel = selectFilterKernel(44100, c.type, c.cutoff, c.resonance, state.get());
  const std::int32_t family = static_cast<std::int32_t>(state->element[FilterElement::family]);
  const std::vector<double> h = FilterTest::measureImpulseResponse(kernel, *state, c.length);
  // The response has died away within the measured length.
  double tail = 0.0;
  for (std::int32_t i = c.length - 256; i < c.length; ++i) tail = std::fmax(tail, std::fabs(h[i]));
  EXPECT_LT(tail, 1e-6);
  double peak = 0.0;
  for (double w : FilterTest::testFrequencies())
    peak = std::fmax(peak, std::abs(expectedResponse(family, kernel, *state, w)));
  for (double w : FilterTest::testFrequencies()) {
    const double expected = std::abs(expectedResponse(family, kernel, *state, w));
    const double measured = std::abs(FilterTest::transformAt(h, w));
    EXPECT_NEAR(measured, expected, 1e-3 * expected + 1e-5 * peak)
        << "at " << w * 44100.0 / 6.2831853 << " Hz";
  }
}

INSTANTIATE_TEST_SUITE_P(EachKernelFamily, MeasuredResponse,
                         testing::Values(ResponseCase{"LowPass30dB", 0, 0.6f, 0.7f, 16384},
                                         ResponseCase{"Equalizer", 16, 0.4f, 0.8f, 16384},
                                         ResponseCase{"BandPassParallel", 15, 0.5f, 0.5f, 16384},
                                         ResponseCase{"VowelParallel", 19, 0.5f, 0.5f, 16384},
                                         ResponseCase{"PhaserAllpassMix", 23, 0.5f, 0.8f, 16384},
                                         ResponseCase{"LowPassLike", 24, 0.7f, 0.5f, 16384},
                                         ResponseCase{"StateVariableLowPass", 28, 0.6f, 0.5f, 16384},
                                         ResponseCase{"StateVariableAllpass", 31, 0.5f, 0.6f, 16384},
                                         ResponseCase{"LadderLowPass", 42, 0.6f, 0.5f, 16384},
                                         ResponseCase{"LadderBandPass", 49, 0.5f, 0.7f, 16384},
                                         ResponseCase{"Resonator", 32, 0.5f, 0.5f, 16384},
                                         ResponseCase{"Comb", 33, 0.6f, 0.6f, 16384},
                                         ResponseCase{"Comb2", 34, 0.7f, 0.6f, 16384},
                                         ResponseCase{"Comb5", 64, 0.8f, 0.5f, 16384},
                                         ResponseCase{"Delay", 55, 0.01f, 0.0f, 1024},
                                         ResponseCase{"VibratoWithoutDepth", 36, 0.5f, 0.0f, 16384},
                                         ResponseCase{"ReverbWithoutFeedback", 56, 0.5f, 0.0f, 32768},
                                         ResponseCase{"ReverbWithFeedback", 58, 0.3f, 0.4f, 65536}),
                         [](const testing::TestParamInfo<ResponseCase>& info) { return info.param.name; });

TEST(FilterKernels, EmptyPieceChangesNothing) {
  const FilterKernel kernels[] = {emptyKernel,
                                  biquadSerialKernel,
                                  biquadParallelKernel,
                                  biquadAllpassMixKernel,
                                  svfKernel,
                                  saturatedSvfKernel,
                                  ladderKernel,
                                  noisyLadderKernel,
                                  resampleKernel,
                                  delayKernel,
                                  resonatorKernel,
                                  combKernel,
                                  comb2Kernel,
                                  comb5Kernel,
                                  amKernel,
                                  reverbKernel};
  auto state = makeState();
  auto before = makeState();
  for (float& e : state->element) e = 3.0f;
  *before = *state;
  float sample = 3.0f;
  for (FilterKernel kernel : kernels) {
    kernel(&sample, 0, state.get());
    ASSERT_EQ(sample, 3.0f);
    for (std::int32_t i = 0; i < FilterState::kSize; ++i)
      ASSERT_EQ(state->element[i], before->element[i]) << i;
  }
  // The vibrato takes its depth target as the depth the next piece starts from.
  state->element[VibratoElement::depthTarget] = 9.0f;
  vibratoKernel(&sample, 0, state.get());
  EXPECT_EQ(state->element[VibratoElement::previousDepth], 9.0f);
  EXPECT_EQ(sample, 3.0f);
}

// Every filter type run on both channels at once gives each channel the samples and the history of its
// kernel run on that channel alone, whether the kernel has a pair form or not.
TEST(FilterKernels, BothChannelsAtOnceSoundAsEachAlone) {
  constexpr std::int32_t pieces[] = {36, 0, 17, 36, 5, 64};
  for (std::int32_t type = 0; type <= 83; ++type) {
    auto left = makeState();
    auto right = makeState();
    auto aloneLeft = makeState();
    auto aloneRight = makeState();
    std::uint32_t noise = 12345u;
    const auto nextSample = [&noise] {
      noise = nextRandomState(noise);
      return static_cast<float>(noise >> 8) / 16777216.0f - 0.5f;
    };
    for (std::int32_t piece = 0; piece < 6; ++piece) {
      // Settings change from piece to piece as control ticks change them; the histories stay apart.
      const float cutoff = 0.3f + 0.1f * static_cast<float>(piece);
      const FilterKernel kernel = selectFilterKernel(44100, type, cutoff, 0.7f, left.get());
      copyFilterSettings(left.get(), right.get());
      selectFilterKernel(44100, type, cutoff, 0.7f, aloneLeft.get());
      copyFilterSettings(aloneLeft.get(), aloneRight.get());
      const std::int32_t count = pieces[piece];
      std::vector<float> leftSamples(count);
      std::vector<float> rightSamples(count);
      for (std::int32_t i = 0; i < count; ++i) {
        leftSamples[i] = nextSample();
        rightSamples[i] = 3.0f * nextSample();
      }
      std::vector<float> aloneLeftSamples = leftSamples;
      std::vector<float> aloneRightSamples = rightSamples;
      const std::uint32_t seed = randomSeed.load();
      kernel(aloneLeftSamples.data(), count, aloneLeft.get());
      kernel(aloneRightSamples.data(), count, aloneRight.get());
      randomSeed.store(seed);
      runFilterPair(kernel, leftSamples.data(), rightSamples.data(), count, left.get(), right.get());
      for (std::int32_t i = 0; i < count; ++i) {
        ASSERT_EQ(leftSamples[i], aloneLeftSamples[i]) << "type " << type << " piece " << piece << " i " << i;
        ASSERT_EQ(rightSamples[i], aloneRightSamples[i])
            << "type " << type << " piece " << piece << " i " << i;
      }
      for (std::int32_t e = 0; e < FilterState::kSize; ++e) {
        ASSERT_EQ(left->element[e], aloneLeft->element[e]) << "type " << type << " element " << e;
        ASSERT_EQ(right->element[e], aloneRight->element[e]) << "type " << type << " element " << e;
      }
    }
  }
}

TEST(FilterKernels, IdentityBiquadsAddOnlyTheSmallOffset) {
  auto state = makeState();
  for (std::int32_t set : {BiquadElement::setA, BiquadElement::setB}) state->element[set] = 1.0f;
  state->element[FilterElement::gain] = 1.0f;
  std::vector<float> buffer = {0.5f, -1.0f, 0.0f, 2.0f, 1e-3f};
  const std::vector<float> input = buffer;
  biquadSerialKernel(buffer.data(), 5, state.get());
  for (std::size_t i = 0; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], input[i] + 1e-6f);
}

TEST(FilterKernels, AmplitudeModulationFollowsAQuarterTurnSine) {
  auto state = makeState();
  state->element[AmElement::increment] = 0.25f;
  state->element[AmElement::depth] = 1.0f;
  std::vector<float> buffer(8, 1.0f);
  amKernel(buffer.data(), 8, state.get());
  const float expected[] = {0.0f, 1.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f, -1.0f};
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(buffer[i], expected[i], 2e-4f) << i;
  EXPECT_EQ(state->element[AmElement::phase], 0.0f);
  // Half depth keeps half of the signal unmodulated.
  state->element[AmElement::depth] = 0.5f;
  state->element[AmElement::phase] = 0.25f;
  buffer.assign(1, 2.0f);
  amKernel(buffer.data(), 1, state.get());
  EXPECT_NEAR(buffer[0], 2.0f, 1e-5f);
}

TEST(FilterKernels, ResamplerHoldsBlockAverages) {
  auto state = makeState();
  state->element[ResampleElement::period] = 3.0f;
  state->element[ResampleElement::inversePeriod] = 1.0f / 3.0f;
  std::vector<float> buffer = {3.0f, 6.0f, 9.0f, 1.0f, 1.0f, 4.0f, 7.0f};
  resampleKernel(buffer.data(), 7, state.get());
  const float expected[] = {0.0f, 0.0f, 6.0f, 6.0f, 6.0f, 2.0f, 2.0f};
  for (int i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(buffer[i], expected[i]) << i;
  EXPECT_EQ(state->element[ResampleElement::sum], 7.0f);
  EXPECT_EQ(state->element[ResampleElement::count], 1.0f);

  // With period 1 (cutoff 1) the input passes unchanged, without the small offset.
  selectFilterKernel(44100, 41, 1.0f, 0.0f, state.get());
  resetFilterState(state.get());
  buffer = {0.25f, -0.5f, 0.75f};
  resampleKernel(buffer.data(), 3, state.get());
  EXPECT_EQ(buffer, (std::vector<float>{0.25f, -0.5f, 0.75f}));
}

TEST(FilterKernels, DelayGlidesToItsNewLength) {
  auto state = makeState();
  float* e = state->element;
  e[DelayLineElement::startLength] = 10.0f;
  e[DelayLineElement::targetLength] = 20.0f;
  e[DelayLineElement::glideLength] = 10.0f;
  // A ramp input: the output of a delay d at sample n is n + 1e-6 - d.
  std::vector<float> buffer(40);
  for (int i = 0; i < 40; ++i) buffer[i] = static_cast<float>(i) + 100.0f;
  delayKernel(buffer.data(), 40, state.get());
  for (int i = 25; i < 40; ++i) {
    const float t = std::fmin(static_cast<float>(i + 1) / 10.0f, 1.0f);
    const float d = (1.0f - t) * 10.0f + t * 20.0f;
    EXPECT_NEAR(buffer[i], static_cast<float>(i) + 100.0f - d, 1e-4f) << i;
  }
  EXPECT_EQ(e[DelayLineElement::glideCount], 40.0f);
  EXPECT_EQ(e[DelayLineElement::writePosition], 40.0f);
}

TEST(FilterKernels, ReverbWithOddTapCountSubtractsTheLargerHalf) {
  auto state = makeState();
  float* e = state->element;
  e[ReverbElement::tapCount] = 3.0f;
  e[ReverbElement::taps] = 1.0f;
  e[ReverbElement::taps + 1] = 2.0f;
  e[ReverbElement::taps + 2] = 4.0f;
  e[ReverbElement::outputScale] = 1.0f;
  e[FilterElement::gain] = 1.0f;
  std::vector<float> buffer(8, 0.0f);
  buffer[0] = 1.0f;
  reverbKernel(buffer.data(), 8, state.get());
  const float expected[] = {0.0f, 1.0f, -1.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f};
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(buffer[i], expected[i], 1e-5f) << i;
}

TEST(FilterKernels, ReverbTapsBeyondTheRingWrapAround) {
  auto state = makeState();
  float* e = state->element;
  e[ReverbElement::tapCount] = 2.0f;
  e[ReverbElement::taps] = 32768.0f + 3.0f;
  e[ReverbElement::taps + 1] = 60000.0f;
  e[ReverbElement::outputScale] = 1.0f;
  e[FilterElement::gain] = 1.0f;
  std::vector<float> buffer(6, 0.0f);
  buffer[0] = 1.0f;
  reverbKernel(buffer.data(), 6, state.get());
  EXPECT_NEAR(buffer[3], 1.0f, 1e-5f);
}

// The reverb gives the same samples whether a piece is one sample long or long enough to be taken several
// samples at a time, across the ring's end and with taps close to the write position or a ring apart.
TEST(FilterKernels, ReverbSoundsTheSameInPiecesOfAnyLength) {
  const float tapSets[][5] = {{5.0f, 1200.0f, 77.0f, 30011.0f, 4.0f},
                              {3.0f, 900.0f, 32765.0f, 1.0f, 32768.0f + 9.0f},
                              {4000.0f, 4001.0f, 4002.0f, 4003.0f, 70000.0f}};
  for (const auto& taps : tapSets) {
    auto single = makeState();
    float* e = single->element;
    e[ReverbElement::tapCount] = 5.0f;
    for (int k = 0; k < 5; ++k) e[ReverbElement::taps + k] = taps[k];
    e[ReverbElement::tapFeedback] = 0.3f;
    e[ReverbElement::damping] = 0.4f;
    e[ReverbElement::outputScale] = 0.7f;
    e[FilterElement::gain] = 1.3f;
    e[ReverbElement::writePosition] = 32700.0f;
    auto pieces = std::make_unique<FilterState>(*single);
    std::vector<float> input(40000);
    std::uint32_t noise = 1u;
    for (float& x : input) {
      noise = nextRandomState(noise);
      x = static_cast<float>(noise >> 8) / 16777216.0f - 0.5f;
    }
    std::vector<float> bySample = input;
    for (float& x : bySample) reverbKernel(&x, 1, single.get());
    std::vector<float> byPiece = input;
    for (std::size_t start = 0, piece = 0; start < byPiece.size(); start += piece) {
      piece = std::min<std::size_t>(1 + (start * 7) % 97, byPiece.size() - start);
      reverbKernel(byPiece.data() + start, static_cast<std::int32_t>(piece), pieces.get());
    }
    for (std::size_t i = 0; i < input.size(); ++i) ASSERT_EQ(byPiece[i], bySample[i]) << taps[0] << " " << i;
    for (std::int32_t i = 0; i < FilterState::kSize; ++i)
      ASSERT_EQ(pieces->element[i], single->element[i]) << i;
  }
}

TEST(FilterKernels, SaturatedStateVariableLimitsItsLowPass) {
  auto state = makeState();
  selectFilterKernel(44100, 80, 0.7f, 0.9f, state.get());
  std::vector<float> buffer(44100);
  for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = i % 200 < 100 ? 1e6f : -1e6f;
  saturatedSvfKernel(buffer.data(), static_cast<std::int32_t>(buffer.size()), state.get());
  for (float v : buffer) ASSERT_TRUE(std::isfinite(v));
  // The saturation holds the low-pass value below 10000 / (2 f).
  EXPECT_LT(std::fabs(state->element[SvfElement::low]),
            10000.0f / (2.0f * state->element[SvfElement::frequency]));
  EXPECT_GT(std::fabs(state->element[SvfElement::low]), 1000.0f);
}

TEST(FilterKernels, VibratoDelayFollowsItsWave) {
  // Depth d on the first (sine) wave at phase 0.25 delays by 2 d + 1 samples.
  auto state = makeState();
  float* e = state->element;
  e[VibratoElement::inputCoefficient] = 1.0f;
  e[VibratoElement::depthTarget] = 4.0f;
  e[VibratoElement::previousDepth] = 4.0f;
  e[VibratoElement::phase] = 0.25f;
  std::vector<float> impulse(64, 0.0f);
  impulse[0] = 1.0f;
  auto silent = makeState();
  *silent = *state;
  std::vector<float> zeros(64, 0.0f);
  vibratoKernel(impulse.data(), 64, state.get());
  vibratoKernel(zeros.data(), 64, silent.get());
  // With g = 1 the damped low-pass answers an impulse one sample late with 1, and each value is written one
  // position on: the impulse appears at delay + 2.
  int first = -1;
  for (int i = 0; i < 64 && first < 0; ++i) {
    if (std::fabs(impulse[i] - zeros[i]) > 0.5f) first = i;
  }
  EXPECT_EQ(first, 11);
}

}  // namespace
