#include "plugin/engine/dsp/Random.h"

std::atomic<std::uint32_t> randomSeed{22222u};
std::atomic<std::uint32_t> lfoSeed{22222u};

namespace {

std::uint32_t advance(std::atomic<std::uint32_t>& seed) {
  const std::uint32_t next = seed.load(std::memory_order_relaxed) * 196314165u + 907633515u;
  seed.store(next, std::memory_order_relaxed);
  return next;
}

}  // namespace

float randomInRange(float lo, float hi) {
  const std::uint32_t seed = advance(randomSeed);
  return (hi - lo) * (static_cast<float>(seed) * 2.33e-10f) + lo;
}

float pinkNoise(float lo, float hi, float& b0, float& b1, float& b2) {
  const float w = randomInRange(lo, hi);
  b0 = b0 * 0.99765f + w * 0.099046f;
  b1 = w * 0.2965164f + b1 * 0.963f;
  b2 = w * 1.0526913f + b2 * 0.57f;
  return b0 + b1 + b2 + w * 0.1848f;
}

float randomBipolar() {
  return static_cast<float>(advance(lfoSeed)) * 4.66e-10f - 1.0f;
}
