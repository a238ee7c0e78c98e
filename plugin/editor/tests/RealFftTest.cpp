#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "plugin/editor/RealFft.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The spectrum of real samples by the definition, divided by n.
std::vector<std::complex<double>> slowTransform(const std::vector<float>& samples) {
  const std::size_t n = samples.size();
  std::vector<std::complex<double>> result(n / 2 + 1);
  for (std::size_t k = 0; k <= n / 2; ++k) {
    for (std::size_t i = 0; i < n; ++i) {
      result[k] += std::polar(static_cast<double>(samples[i]), -2.0 * kPi * double(k * i) / double(n));
    }
    result[k] /= double(n);
  }
  return result;
}

class RealFftTest : public ::testing::TestWithParam<int> {};

TEST_P(RealFftTest, MagnitudesAndLayoutMatchTheDefinition) {
  const int n = GetParam();
  std::vector<float> samples(n);
  for (int i = 0; i < n; ++i) {
    samples[i] = static_cast<float>(std::sin(i * 0.37) * 3.0 + std::cos(i * 1.9) + (i % 7) * 0.25);
  }
  const std::vector<std::complex<double>> expected = slowTransform(samples);
  std::vector<float> data = samples;
  realFft(data.data(), n);

  EXPECT_NEAR(data[0], expected[0].real(), 1e-4);
  EXPECT_NEAR(data[n / 2], expected[n / 2].real(), 1e-4);
  for (int k = 1; k < n / 2; ++k) {
    EXPECT_NEAR(data[k], expected[k].real(), 1e-3) << "bin " << k;
    // The sign of the imaginary part is left open; the display uses magnitudes only.
    EXPECT_NEAR(std::fabs(data[n - k]), std::fabs(expected[k].imag()), 1e-3) << "bin " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, RealFftTest, ::testing::Values(4, 8, 16, 64, 256));

TEST(RealFft, AnImpulseHasAFlatSpectrum) {
  std::vector<float> data(256, 0.0f);
  data[0] = 256.0f;
  realFft(data.data(), 256);
  for (int k = 0; k <= 128; ++k) EXPECT_NEAR(data[k], 1.0f, 1e-5) << k;
  for (int k = 129; k < 256; ++k) EXPECT_NEAR(data[k], 0.0f, 1e-5) << k;
}

}  // namespace
