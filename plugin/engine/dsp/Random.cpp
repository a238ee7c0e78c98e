#include "plugin/engine/dsp/Random.h"

std::atomic<std::uint32_t> randomSeed{22222u};
std::atomic<std::uint32_t> lfoSeed{22222u};

float pinkNoise(float lo, float hi, float& b0, float& b1, float& b2) {
  const float w = randomInRange(lo, hi);
  b0 = b0 * 0.99765f + w * 0.099046f;
  b1 = w * 0.2965164f + b1 * 0.963f;
  b2 = w * 1.0526913f + b2 * 0.57f;
  return b0 + b1 + b2 + w * 0.1848f;
}

float randomBipolar() {
  const std::uint32_t seed = nextRandomState(lfoSeed.load(std::memory_order_relaxed));
  lfoSeed.store(seed, std::memory_order_relaxed);
  return static_cast<float>(seed) * 4.66e-10f - 1.0f;
}
