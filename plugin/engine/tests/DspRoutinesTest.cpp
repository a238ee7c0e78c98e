#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "plugin/engine/dsp/AccurateSine.h"
#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/FloatToInt.h"
#include "plugin/engine/dsp/Random.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(FloatToInt, TruncatesInRangeAndGivesLowestValueOtherwise) {
  constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
  const struct {
    double value;
    std::int32_t expected;
  } cases[] = {
      {0.0, 0},
      {1.99, 1},
      {-1.99, -1},
      {2147483647.0, 2147483647},
      {2147483647.9, 2147483647},
      {-2147483648.0, lowest},
      {-2147483648.9, lowest},
      {2147483648.0, lowest},
      {-2147483649.0, lowest},
      {1e30, lowest},
      {std::numeric_limits<double>::infinity(), lowest},
      {-std::numeric_limits<double>::infinity(), lowest},
      {std::numeric_limits<double>::quiet_NaN(), lowest},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(truncateToInt32(c.value), c.expected) << c.value;
  }
}

TEST(FastAbsAndClip, ClearSignBitAndLimitWithoutBranches) {
  EXPECT_EQ(fastAbs(-2.5f), 2.5f);
  EXPECT_FALSE(std::signbit(fastAbs(-0.0f)));
  EXPECT_TRUE(std::isnan(fastAbs(-std::numeric_limits<float>::quiet_NaN())));
  EXPECT_FALSE(std::signbit(fastAbs(-std::numeric_limits<float>::quiet_NaN())));
  EXPECT_EQ(clip(7.0f, -5.0f, 5.0f), 5.0f);
  EXPECT_EQ(clip(-7.0f, -5.0f, 5.0f), -5.0f);
  EXPECT_EQ(clip(0.5f, -1.0f, 1.0f), 0.5f);
  // Inside the range the sums round, so the result may differ from x in the last bits.
  for (float x = -3.0f; x <= 3.0f; x += 0.001f) {
    EXPECT_NEAR(clip(x, -1.0f, 1.0f), std::fmin(std::fmax(x, -1.0f), 1.0f), 2.4e-7f) << x;
  }
}

TEST(FastExp, GoldenValues) {
  EXPECT_EQ(fastExp(0.0), 1.0f);
  EXPECT_FLOAT_EQ(fastExp(-6.0), 0.0025344575f);
  EXPECT_NEAR(fastExp(1.0), 2.75776f, 1e-5f);
  EXPECT_NEAR(fastExp(-1.0), 0.374351f, 1e-6f);
  EXPECT_NEAR(fastExp(-0.0001), 0.999458f, 1e-6f);
}

// The quadratic mantissa is exact up to the 9 and 18 high bits through which f enters: relative error within
// 2^-8 of 2^floor(y) (1 + 0.75 f + 0.25 f^2); against e^x the approximation stays within 3.5 % for |x| <= 10.
TEST(FastExp, DenseSweepAgainstItsFormulaAndTheExponential) {
  double worstFormula = 0.0;
  double worstExp = 0.0;
  for (double x = -10.0; x <= 10.0; x += 0.000731) {
    const double y = x * static_cast<double>(1.4408f);
    const double f = y - std::floor(y);
    const double formula = std::ldexp(1.0 + 0.75 * f + 0.25 * f * f, static_cast<int>(std::floor(y)));
    const double value = fastExp(x);
    worstFormula = std::fmax(worstFormula, std::fabs(value / formula - 1.0));
    worstExp = std::fmax(worstExp, std::fabs(value / std::exp(x) - 1.0));
  }
  EXPECT_LT(worstFormula, 1.0 / 256.0);
  EXPECT_LT(worstExp, 0.035);
}

TEST(FastSine, GoldenValues) {
  EXPECT_EQ(fastSine(1.5707963f), 1.0f);
  EXPECT_NEAR(fastSine(0.5f), 0.479426f, 1e-6f);
  EXPECT_NEAR(fastSine(3.0f), 0.141025f, 1e-6f);
  for (float x : {3.2f, 6.0f, -3.2f, 1e10f, std::numeric_limits<float>::quiet_NaN()}) {
    EXPECT_FLOAT_EQ(fastSine(x), 0.00018912606f) << x;
  }
}

TEST(FastCosine, GoldenValues) {
  EXPECT_FLOAT_EQ(fastCosine(0.0f), 0.99999988f);
  EXPECT_NEAR(fastCosine(3.0f), -0.989992f, 1e-6f);
  EXPECT_FLOAT_EQ(fastCosine(1.5707963f), -0.00018912606f);
  EXPECT_FLOAT_EQ(fastCosine(3.2f), -0.99999988f);
}

// Over -pi..pi the polynomial and the quantised phase stay within 2e-4 of the library's sine and cosine; the
// error grows toward +-pi (odd polynomial of degree 11) and is below 1e-6 within -pi/2..pi/2.
TEST(FastSineAndCosine, DenseSweepAgainstLibrary) {
  double worstSine = 0.0;
  double worstCosine = 0.0;
  double worstInner = 0.0;
  for (double x = -kPi; x <= kPi; x += 0.0000917) {
    const float xf = static_cast<float>(x);
    worstSine = std::fmax(worstSine, std::fabs(fastSine(xf) - std::sin(static_cast<double>(xf))));
    worstCosine = std::fmax(worstCosine, std::fabs(fastCosine(xf) - std::cos(static_cast<double>(xf))));
    if (std::fabs(x) <= kPi / 2) {
      worstInner = std::fmax(worstInner, std::fabs(fastSine(xf) - std::sin(static_cast<double>(xf))));
    }
  }
  EXPECT_LT(worstSine, 2e-4);
  EXPECT_LT(worstCosine, 2e-4);
  EXPECT_LT(worstInner, 1e-6);
}

// The oscillator's angles lie in 0..126 radians; wider and odd angles keep the library's answer too.
TEST(AccurateSine, GivesTheLibrarysSingleFloatSine) {
  int64_t samples = 0;
  int64_t equal = 0;
  double worst = 0.0;
  const auto compare = [&](float x) {
    const float expected = std::sin(x);
    const float actual = accurateSine(x);
    ++samples;
    equal += actual == expected ? 1 : 0;
    worst = std::fmax(worst, std::fabs(static_cast<double>(actual) - expected));
  };
  for (float x = 0.0f; x < 130.0f; x += 0.0000371f) compare(x);
  for (float x = 1e-30f; x < 1.0f; x *= 1.001f) compare(-x);
  for (float x : {-1000.5f, 12345.678f, -654321.0f, 1048575.9f, 3e6f, -1e20f, 0.0f, -0.0f}) compare(x);
  EXPECT_LE(worst, 1e-7);
  EXPECT_GE(static_cast<double>(equal), 0.99999 * static_cast<double>(samples));
  EXPECT_TRUE(std::isnan(accurateSine(std::numeric_limits<float>::quiet_NaN())));
  EXPECT_TRUE(std::isnan(accurateSine(std::numeric_limits<float>::infinity())));
  EXPECT_EQ(std::signbit(accurateSine(-0.0f)), true);
}

TEST(FastSaturation, IsNearlyLinearForSmallValuesAndBoundedForLarge) {
  EXPECT_NEAR(softSaturate(1.0f, 0.0f), 1.0f, 1e-6f);
  EXPECT_NEAR(softSaturate(1.0f, 1.0f), 2.0f, 1e-3f);
  EXPECT_LT(softSaturate(1e9f, 1.0f), 10000.0f);
  EXPECT_GT(softSaturate(-1e9f, 1.0f), -10000.0f);
}

class RandomSequence : public ::testing::Test {
 protected:
  void SetUp() override {
    savedRandom = randomSeed.load();
    savedLfo = lfoSeed.load();
    randomSeed.store(22222u);
    lfoSeed.store(22222u);
  }
  void TearDown() override {
    randomSeed.store(savedRandom);
    lfoSeed.store(savedLfo);
  }
  std::uint32_t savedRandom = 0;
  std::uint32_t savedLfo = 0;
};

TEST_F(RandomSequence, FirstValuesAfterLoad) {
  EXPECT_NEAR(randomInRange(0.0f, 1.0f), 0.934144f, 1e-6f);
  EXPECT_NEAR(randomInRange(0.0f, 1.0f), 0.604303f, 1e-6f);
  EXPECT_NEAR(randomInRange(0.0f, 1.0f), 0.984449f, 1e-6f);
  EXPECT_EQ(randomSeed.load(), 22222u * 196314165u * 196314165u * 196314165u +
                                   907633515u * (196314165u * 196314165u + 196314165u + 1u));
  EXPECT_EQ(lfoSeed.load(), 22222u);
}

TEST_F(RandomSequence, ValuesLieInTheSlightlyWidenedRange) {
  for (int i = 0; i < 100000; ++i) {
    const float v = randomInRange(-2.0f, 3.0f);
    ASSERT_GE(v, -2.0f);
    ASSERT_LE(v, -2.0f + 1.00073f * 5.0f);
  }
}

TEST_F(RandomSequence, SkippingStatesEqualsSteppingThroughThem) {
  for (std::uint32_t count : {0u, 1u, 2u, 3u, 36u, 37u, 1000u, 65536u, 100003u}) {
    std::uint32_t stepped = 22222u;
    for (std::uint32_t i = 0; i < count; ++i) stepped = nextRandomState(stepped);
    EXPECT_EQ(skipRandomStates(22222u, count), stepped) << count;
  }
}

TEST_F(RandomSequence, PinkNoiseFiltersOneDrawAndKeepsItsCells) {
  float b0 = 0.5f, b1 = -0.25f, b2 = 0.125f;
  const float value = pinkNoise(-1.0f, 1.0f, b0, b1, b2);
  randomSeed.store(22222u);
  const float w = randomInRange(-1.0f, 1.0f);
  const float e0 = 0.5f * 0.99765f + w * 0.099046f;
  const float e1 = w * 0.2965164f + -0.25f * 0.963f;
  const float e2 = w * 1.0526913f + 0.125f * 0.57f;
  EXPECT_EQ(b0, e0);
  EXPECT_EQ(b1, e1);
  EXPECT_EQ(b2, e2);
  EXPECT_EQ(value, e0 + e1 + e2 + w * 0.1848f);
}

TEST_F(RandomSequence, BipolarValuesUseTheirOwnSeed) {
  const float u = randomBipolar();
  EXPECT_EQ(u, static_cast<float>(22222u * 196314165u + 907633515u) * 4.66e-10f - 1.0f);
  EXPECT_EQ(randomSeed.load(), 22222u);
  for (int i = 0; i < 100000; ++i) {
    const float v = randomBipolar();
    ASSERT_GE(v, -1.0f);
    ASSERT_LE(v, 1.0015f);
  }
}

}  // namespace
