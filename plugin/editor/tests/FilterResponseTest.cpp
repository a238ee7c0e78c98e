#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <numeric>
#include <vector>

#include "plugin/editor/FilterResponse.h"
#include "plugin/engine/ParameterMenu.h"
#include "plugin/engine/filters/FilterSelection.h"
#include "plugin/engine/filters/FilterTypeMap.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Menu entries used below.
constexpr int typeBypass = 0;
constexpr int typeLowPass = 1;  // "LP 30dB"
enum {
  routingBypass,
  routingFilter1,
  routingFilter2,
  routingSerial,
  routingSum,
  routingDifference,
  routingStereo,
  routingAm
};

using Columns = std::vector<std::int32_t>;

class FilterResponseTest : public ::testing::Test {
 protected:
  FilterSettings settings(int type1, int type2, int routing) const {
    FilterSettings s;
    s.filterType1 = encodeMenuEntry(type1);
    s.filterType2 = encodeMenuEntry(type2);
    s.routing = encodeMenuEntry(routing);
    s.cutoff1 = 0.5f;
    s.cutoff2 = 0.5f;
    s.resonance1 = 0.3f;
    s.resonance2 = 0.3f;
    return s;
  }

  Columns compute(const FilterSettings& s, std::uint8_t* mode = nullptr) {
    Columns columns(FilterResponse::columnCount, 999);
    std::uint8_t shown = 99;
    EXPECT_TRUE(response->compute(s, columns.data(), shown));
    if (mode) *mode = shown;
    return columns;
  }

  std::unique_ptr<FilterResponse> response = std::make_unique<FilterResponse>();
};

TEST_F(FilterResponseTest, BypassRoutingIsAFlatLineAt52) {
  std::uint8_t mode = 0;
  EXPECT_EQ(compute(settings(typeLowPass, typeLowPass, routingBypass), &mode), Columns(134, 52));
  EXPECT_EQ(mode, FilterResponse::BothFilters);
}

TEST_F(FilterResponseTest, AnUnfilteredImpulseStandsAt55) {
  std::uint8_t mode = 9;
  EXPECT_EQ(compute(settings(typeBypass, typeLowPass, routingFilter1), &mode), Columns(134, 55));
  EXPECT_EQ(mode, FilterResponse::FirstFilter);
  EXPECT_EQ(compute(settings(typeLowPass, typeBypass, routingFilter2), &mode), Columns(134, 55));
  EXPECT_EQ(mode, FilterResponse::SecondFilter);
}

TEST_F(FilterResponseTest, ALowPassFallsTowardTheRight) {
  FilterSettings s = settings(typeLowPass, typeBypass, routingFilter1);
  s.cutoff1 = 0.4f;
  s.resonance1 = 0.0f;
  const Columns columns = compute(s);
  EXPECT_GE(columns[0], 50);
  EXPECT_LT(columns[133], columns[0] - 40);
  EXPECT_LE(*std::max_element(columns.begin() + 100, columns.end()), columns[20]);
}

TEST_F(FilterResponseTest, EqualFiltersCancelInTheDifferenceAndMatchInTheSum) {
  const FilterSettings single = settings(typeLowPass, typeBypass, routingFilter1);
  const Columns alone = compute(single);
  EXPECT_EQ(compute(settings(typeLowPass, typeLowPass, routingDifference)), Columns(134, -78));
  EXPECT_EQ(compute(settings(typeLowPass, typeLowPass, routingSum)), alone);
  EXPECT_EQ(compute(settings(typeLowPass, typeLowPass, routingStereo)), alone);
}

TEST_F(FilterResponseTest, SerialRoutingRunsTheSecondFilterAfterTheFirst) {
  const Columns alone = compute(settings(typeLowPass, typeBypass, routingFilter1));
  EXPECT_EQ(compute(settings(typeLowPass, typeBypass, routingSerial)), alone);
  const Columns twice = compute(settings(typeLowPass, typeLowPass, routingSerial));
  // Twice the filtering takes more away: the curve lies lower overall.
  EXPECT_LT(std::accumulate(twice.begin(), twice.end(), 0), std::accumulate(alone.begin(), alone.end(), 0));
}

TEST_F(FilterResponseTest, UnshownRoutingsKeepThePreviousCurve) {
  Columns columns(134, 7);
  std::uint8_t mode = 3;
  for (const float routing : {encodeMenuEntry(routingAm), 0.5f, -0.2f, std::nanf("")}) {
    FilterSettings s = settings(typeLowPass, typeLowPass, routingFilter1);
    s.routing = routing;
    EXPECT_FALSE(response->compute(s, columns.data(), mode)) << routing;
  }
  EXPECT_EQ(columns, Columns(134, 7));
  EXPECT_EQ(mode, 3);
}

TEST_F(FilterResponseTest, FilterTypesOutsideTheMenuShowNoFilter) {
  for (const float type : {0.59f, 1.5f, -0.3f, std::nanf(""), 1e30f}) {
    FilterSettings s = settings(typeBypass, typeBypass, routingFilter1);
    s.filterType1 = type;
    EXPECT_EQ(compute(s), Columns(134, 55)) << type;
  }
}

// The bar of column c against the spectrum of the engine's own impulse response, computed by the
// definition at bin 1.037^c (interpolated as the display does).
TEST_F(FilterResponseTest, CurveFollowsTheEngineFiltersSpectrum) {
  for (const int type : {typeLowPass, 5, 17, 27}) {
    FilterSettings s = settings(type, typeBypass, routingFilter1);
    s.cutoff1 = 0.6f;
    s.resonance1 = 0.5f;
    const Columns columns = compute(s);

    auto state = std::make_unique<FilterState>();
    state->clear();
    std::vector<float> impulse(256, 0.0f);
    impulse[0] = 100000.0f;
    const FilterKernel kernel = selectFilterKernel(48000, filterTypeForEntry(type), 0.6f, 0.5f, state.get());
    resetFilterState(state.get());
    kernel(impulse.data(), 256, state.get());
    std::vector<double> magnitude(128);
    for (int k = 1; k < 128; ++k) {
      std::complex<double> sum;
      for (int i = 0; i < 256; ++i) {
        const double window = 1.0 + std::cos(i * kPi / 256.0);
        sum += std::polar(impulse[i] * window, -2.0 * kPi * k * i / 256.0);
      }
      magnitude[k] = std::min(std::abs(sum) / 256.0, 200000.0);
    }
    for (int c = 0; c < 134; c += 11) {
      const double p = std::pow(1.037, c);
      const int bin = static_cast<int>(p);
      const double f = p - bin;
      const double m = magnitude[bin] * (1.0 - f) + magnitude[bin + 1] * f;
      if (m < 100.0) continue;  // the display truncates magnitudes to whole numbers
      const double expected = 20.0 * std::log(m) - 78.0;
      EXPECT_NEAR(columns[c], expected, 1.5) << "type " << type << " column " << c;
    }
  }
}

}  // namespace
