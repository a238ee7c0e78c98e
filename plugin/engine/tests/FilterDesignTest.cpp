#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/filters/FilterDesign.h"
#include "plugin/engine/tests/FilterTestSupport.h"

namespace {

using FilterTest::Complex;
using FilterTest::kPi;

struct Set {
  float b0, b1, b2, a1, a2;

  bool operator==(const Set& o) const {
    return b0 == o.b0 && b1 == o.b1 && b2 == o.b2 && a1 == o.a1 && a2 == o.a2;
  }

  // The magnitude of the response at the angular frequency w, in double precision.
  double magnitude(double w) const {
    const Complex z1 = FilterTest::unitDelay(w);
    return std::abs((double(b0) + double(b1) * z1 + double(b2) * z1 * z1) /
                    (1.0 - double(a1) * z1 - double(a2) * z1 * z1));
  }
};

Set design(int mode, float cutoff, float q, int sampleRate = 44100) {
  Set s{};
  designFilterCoefficients(mode, cutoff, q, &s.b0, &s.b1, &s.b2, &s.a1, &s.a2, sampleRate);
  return s;
}

// The limited normalised frequency the design works with.
double designFrequency(float cutoff, int sampleRate) {
  return std::fmin(std::fmax(normalisedFrequency(cutoff, sampleRate), 0.0001f), 0.45f);
}

// The formulas of every mode, written out: the expected set of a mode at a cutoff, quality and rate.
Set formulas(int mode, float cutoff, float q, int sampleRate) {
  const float F = fastExp(-6.0f * (1.0f - cutoff)) * 0.45f / static_cast<float>(sampleRate) * 44100.0f;
  const float f = std::fmin(std::fmax(F, 0.0001f), 0.45f);
  const float qq = std::fmin(std::fmax(q, 0.0f), 1.0f);
  const auto peaking = [f](float n, float d) {
    const float K = std::tan(3.14159f * f);
    const float N = 1.0f + d * K + K * K;
    return Set{(1.0f + n * K + K * K) / N, 2.0f * (K * K - 1.0f) / N, (1.0f - n * K + K * K) / N,
               -2.0f * (K * K - 1.0f) / N, -(1.0f - d * K + K * K) / N};
  };
  const float G = fastExp(3.0f * qq);
  const float A = std::pow(2.0f, qq);
  const float w = 6.28318f * f;
  const float c = fastCosine(w);
  const float beta = fastSine(w) * std::sqrt(A + A);
  switch (mode) {
    case 0:
    case 1: {
      const float K = std::tan(3.14159f * f * (1.1f - 0.15f * qq));
      const float Q = 0.75f * fastExp(5.0f * qq * qq);
      const float N = 1.0f + K / Q + K * K;
      return {K * K / N, 2.0f * K * K / N, K * K / N, -2.0f * (K * K - 1.0f) / N,
              -(1.0f - K / Q + K * K) / N};
    }
    case 2: {
      const float K = std::tan(6.28318f * f * 0.5f);
      const float Q = 6.0f * qq * qq + 0.2f;
      const float N = 1.0f + K / Q + K * K;
      return {(1.0f + K / Q) / N, -2.0f / N, (1.0f - K / Q) / N, -2.0f * (K * K - 1.0f) / N,
              -(1.0f - K / Q + K * K) / N};
    }
    case 3: {
      const float g = fastExp(22.0f * f * f * f) * fastSine(w);
      const float alpha = std::sinh((2.0f - 1.9f * qq) * 2.177586f * f / g) * g;
      const float N = 1.0f + alpha;
      return {0.5f * g / N, 0.0f, -0.5f * g / N, 2.0f * fastCosine(w) / N, -(1.0f - alpha) / N};
    }
    case 4:
      return peaking(9.0f / G, 1.0f / G);
    case 5:
      return peaking(18.0f / G, 1.0f / G);
    case 6:
      return peaking(1.0f / G, 18.0f / G);
    case 7: {
      const float a0 = (A + 1.0f) + (A - 1.0f) * c + beta;
      return {A * ((A + 1.0f) - (A - 1.0f) * c + beta) / a0, 2.0f * A * ((A - 1.0f) - (A + 1.0f) * c) / a0,
              A * ((A + 1.0f) - (A - 1.0f) * c - beta) / a0, 2.0f * ((A - 1.0f) + (A + 1.0f) * c) / a0,
              -((A + 1.0f) + (A - 1.0f) * c - beta) / a0};
    }
    case 8: {
      const float a0 = (A + 1.0f) - (A - 1.0f) * c + beta;
      return {A * ((A + 1.0f) + (A - 1.0f) * c + beta) / a0, -2.0f * A * ((A - 1.0f) + (A + 1.0f) * c) / a0,
              A * ((A + 1.0f) + (A - 1.0f) * c - beta) / a0, -2.0f * ((A - 1.0f) - (A + 1.0f) * c) / a0,
              -((A + 1.0f) - (A - 1.0f) * c - beta) / a0};
    }
    case 9:
      return peaking(G / 4.0f, 1.0f / 4.0f);
    case 10:
      return peaking(G / 10.0f, 1.0f / 10.0f);
    case 11: {
      const float s = fastSine(w);
      const float alpha = std::sinh((1.0f - 0.999f * std::sqrt(qq)) * 2.177586f * f / s) * s;
      const float N = 1.0f + alpha;
      return {(1.0f - alpha) / N, -2.0f * fastCosine(w) / N, N / N, 2.0f * fastCosine(w) / N,
              -(1.0f - alpha) / N};
    }
    default:
      return peaking(fastExp(5.0f * qq * qq), 1.0f);
  }
}

// Each coefficient within a few units of the last place of its formula's value (the library's tan, sinh
// and pow enter the same way on both sides).
TEST(FilterDesign, EveryModeAtCutoffsQualitiesAndRatesFollowsItsFormulas) {
  const auto matches = [](float actual, float expected) {
    return std::fabs(actual - expected) <= 4e-6f * std::fmax(1.0f, std::fabs(expected));
  };
  for (int mode = 0; mode <= 12; ++mode) {
    for (int rate : {22050, 44100, 48000, 96000}) {
      for (float cutoff : {-0.5f, 0.0f, 0.2f, 0.45f, 0.7f, 0.85f, 1.0f, 1.2f}) {
        for (float q : {-0.5f, 0.0f, 0.25f, 0.5f, 0.8f, 1.0f, 1.5f}) {
          SCOPED_TRACE(testing::Message()
                       << "mode " << mode << " rate " << rate << " cutoff " << cutoff << " q " << q);
          const Set actual = design(mode, cutoff, q, rate);
          const Set expected = formulas(mode, cutoff, q, rate);
          EXPECT_PRED2(matches, actual.b0, expected.b0);
          EXPECT_PRED2(matches, actual.b1, expected.b1);
          EXPECT_PRED2(matches, actual.b2, expected.b2);
          EXPECT_PRED2(matches, actual.a1, expected.a1);
          EXPECT_PRED2(matches, actual.a2, expected.a2);
        }
      }
    }
  }
}

TEST(FilterDesign, NormalisedFrequencyFollowsTheSampleRate) {
  EXPECT_NEAR(normalisedFrequency(1.0f, 44100), 0.45f, 1e-7f);
  EXPECT_NEAR(normalisedFrequency(1.0f, 48000), 0.41344f, 1e-5f);
  EXPECT_NEAR(normalisedFrequency(1.0f, 22050), 0.9f, 1e-6f);
  EXPECT_NEAR(normalisedFrequency(0.0f, 44100), 0.0011405f, 1e-7f);
  EXPECT_NEAR(normalisedFrequency(0.0f, 44100) * 44100.0f, 50.3f, 0.05f);
}

TEST(FilterDesign, FrequencyAndQualityAreLimited) {
  for (int mode = 0; mode <= 12; ++mode) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(design(mode, 0.6f, 1.5f), design(mode, 0.6f, 1.0f));
    EXPECT_EQ(design(mode, 0.6f, -1.0f), design(mode, 0.6f, 0.0f));
    // 0.9 of the sample rate at 22050 Hz designs as the upper limit 0.45.
    EXPECT_EQ(design(mode, 1.0f, 0.5f, 22050), design(mode, 1.5f, 0.5f, 22050));
    // Far below 0 the frequency stops at its lower limit.
    EXPECT_EQ(design(mode, -3.0f, 0.5f), design(mode, -4.0f, 0.5f));
  }
}

TEST(FilterDesign, NonFiniteInputsDesignAsZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (int mode = 0; mode <= 12; ++mode) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(design(mode, nan, 0.5f), design(mode, 0.0f, 0.5f));
    EXPECT_EQ(design(mode, -inf, 0.5f), design(mode, 0.0f, 0.5f));
    EXPECT_EQ(design(mode, 0.5f, inf), design(mode, 0.5f, 0.0f));
  }
}

TEST(FilterDesign, AllPassHasUnitMagnitudeAndMirroredCoefficients) {
  for (float cutoff = 0.0f; cutoff <= 1.0f; cutoff += 0.05f) {
    for (float q = 0.0f; q <= 1.0f; q += 0.1f) {
      const Set s = design(11, cutoff, q);
      ASSERT_EQ(s.b2, 1.0f);
      ASSERT_EQ(s.b0, -s.a2);
      for (double w : FilterTest::testFrequencies(12))
        ASSERT_NEAR(s.magnitude(w), 1.0, 1e-3) << cutoff << " " << q;
    }
  }
}

// Gains at DC, at Nyquist and (for the peaks) at the centre frequency that each mode's formulas give; the
// library's tan, sinh and pow may differ in the last bits between runtimes, hence the tolerances. Cutoffs
// start at 0.4: lower, poles next to 1 make the DC gain of single-precision coefficients drift by 0.1 %.
TEST(FilterDesign, GainsAtTheBandEdgesAndCentres) {
  for (float cutoff : {0.4f, 0.7f, 0.95f}) {
    for (float q : {0.0f, 0.3f, 0.8f, 1.0f}) {
      SCOPED_TRACE(testing::Message() << "cutoff " << cutoff << " q " << q);
      const double f = designFrequency(cutoff, 44100);
      const double centre = 2.0 * std::atan(std::tan(3.14159f * float(f)));
      const double g = fastExp(3.0f * q);
      const double a = std::pow(2.0, double(q));

      EXPECT_NEAR(design(1, cutoff, q).magnitude(0.0), 1.0, 1e-4);
      EXPECT_NEAR(design(1, cutoff, q).magnitude(kPi), 0.0, 1e-4);
      EXPECT_NEAR(design(2, cutoff, q).magnitude(0.0), 0.0, 1e-4);
      EXPECT_NEAR(design(2, cutoff, q).magnitude(kPi), 1.0, 1e-4);
      EXPECT_NEAR(design(3, cutoff, q).magnitude(0.0), 0.0, 1e-4);
      EXPECT_NEAR(design(3, cutoff, q).magnitude(kPi), 0.0, 1e-4);

      const struct {
        int mode;
        double centreGain;
      } peaks[] = {{4, 9.0}, {5, 18.0}, {6, 1.0 / 18.0}, {9, g}, {10, g}, {12, fastExp(5.0f * (q * q))}};
      for (const auto& peak : peaks) {
        const Set s = design(peak.mode, cutoff, q);
        EXPECT_NEAR(s.magnitude(0.0), 1.0, 5e-4) << peak.mode;
        EXPECT_NEAR(s.magnitude(kPi), 1.0, 5e-4) << peak.mode;
        EXPECT_NEAR(s.magnitude(centre) / peak.centreGain, 1.0, 2e-3) << peak.mode;
      }

      EXPECT_NEAR(design(7, cutoff, q).magnitude(0.0), a * a, 1e-3);
      EXPECT_NEAR(design(7, cutoff, q).magnitude(kPi), 1.0, 1e-3);
      EXPECT_NEAR(design(8, cutoff, q).magnitude(0.0), 1.0, 1e-3);
      EXPECT_NEAR(design(8, cutoff, q).magnitude(kPi), a * a, 1e-3);
    }
  }
}

TEST(FilterDesign, ModeZeroIsTheLowPass) {
  EXPECT_EQ(design(0, 0.37f, 0.6f), design(1, 0.37f, 0.6f));
}

}  // namespace
