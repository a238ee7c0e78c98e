#pragma once

#include <cmath>
#include <complex>
#include <cstdint>
#include <memory>
#include <vector>

#include "plugin/engine/filters/FilterState.h"

namespace FilterTest {

using Complex = std::complex<double>;

constexpr double kPi = 3.14159265358979323846;

// A cleared state on the heap (a state is 256 KB).
inline std::unique_ptr<FilterState> makeState() {
  return std::make_unique<FilterState>();
}

// e^(-jw): one sample of delay at the angular frequency w.
inline Complex unitDelay(double w) {
  return std::polar(1.0, -w);
}

// The response of a biquad set (b0, b1, b2, A1, A2) stored from element first on.
inline Complex biquadResponse(const FilterState& state, std::int32_t first, double w) {
  const float* c = state.element + first;
  const Complex z1 = unitDelay(w);
  return (double(c[0]) + double(c[1]) * z1 + double(c[2]) * z1 * z1) /
         (1.0 - double(c[3]) * z1 - double(c[4]) * z1 * z1);
}

// The linear response of a kernel measured from its state as it stands: the output for a unit impulse minus
// the output for silence (which removes the small constant every kernel adds to its input).
inline std::vector<double> measureImpulseResponse(FilterKernel kernel, const FilterState& state,
                                                  std::int32_t length) {
  auto withImpulse = std::make_unique<FilterState>(state);
  auto silent = std::make_unique<FilterState>(state);
  std::vector<float> a(length, 0.0f);
  std::vector<float> b(length, 0.0f);
  a[0] = 1.0f;
  kernel(a.data(), length, withImpulse.get());
  kernel(b.data(), length, silent.get());
  std::vector<double> h(length);
  for (std::int32_t i = 0; i < length; ++i) h[i] = double(a[i]) - double(b[i]);
  return h;
}

// The transform of an impulse response at the angular frequency w.
inline Complex transformAt(const std::vector<double>& h, double w) {
  Complex sum = 0.0;
  const Complex step = unitDelay(w);
  Complex rotation = 1.0;
  for (std::size_t n = 0; n < h.size(); ++n) {
    sum += h[n] * rotation;
    rotation *= step;
    if ((n & 1023) == 1023) rotation = std::polar(1.0, -w * double(n + 1));
  }
  return sum;
}

// Angular frequencies spread logarithmically from about 20 Hz to just below Nyquist at 44.1 kHz.
inline std::vector<double> testFrequencies(int count = 40) {
  std::vector<double> w;
  for (int i = 0; i < count; ++i) {
    w.push_back(2.0 * kPi * 20.0 / 44100.0 * std::pow(1000.0, double(i) / double(count - 1)) * 1.09);
  }
  return w;
}

}  // namespace FilterTest
