#pragma once

#include <atomic>
#include <cstdint>

// The process-wide state of randomInRange and pinkNoise, 22222 at load and never reset. The audio thread
// and the editor both advance it without a lock: a lost update only repeats or skips a value. It is atomic
// (with relaxed loads and stores, no read-modify-write) only so that this sharing is defined behaviour.
extern std::atomic<std::uint32_t> randomSeed;

// The second process-wide state, used by the LFO shapes and the step sequencer (randomBipolar); 22222 at
// load.
extern std::atomic<std::uint32_t> lfoSeed;

// The next state of either generator: seed * 196314165 + 907633515 modulo 2^32.
inline std::uint32_t nextRandomState(std::uint32_t seed) {
  return seed * 196314165u + 907633515u;
}

// The state reached from seed after count steps.
inline std::uint32_t skipRandomStates(std::uint32_t seed, std::uint32_t count) {
  // The step s -> m s + i applied 2^j times is s -> m^(2^j) s + i (m^(2^j) - 1) / (m - 1); the
  // powers of two that make up count are composed one after the other.
  std::uint32_t multiplier = 196314165u;
  std::uint32_t increment = 907633515u;
  std::uint32_t totalMultiplier = 1u;
  std::uint32_t totalIncrement = 0u;
  for (; count != 0; count >>= 1) {
    if (count & 1u) {
      totalMultiplier *= multiplier;
      totalIncrement = totalIncrement * multiplier + increment;
    }
    increment *= multiplier + 1u;
    multiplier *= multiplier;
  }
  return totalMultiplier * seed + totalIncrement;
}

// The value of randomInRange for the state seed.
inline float randomValueInRange(std::uint32_t seed, float lo, float hi) {
  return (hi - lo) * (static_cast<float>(seed) * 2.33e-10f) + lo;
}

// Advances randomSeed and answers (hi - lo) * (seed * 2.33e-10) + lo, which lies in
// lo..lo + 1.00073 * (hi - lo).
inline float randomInRange(float lo, float hi) {
  const std::uint32_t seed = nextRandomState(randomSeed.load(std::memory_order_relaxed));
  randomSeed.store(seed, std::memory_order_relaxed);
  return randomValueInRange(seed, lo, hi);
}

// randomInRange for the draws of one loop on one thread: the state is read once at the start and
// written back at the end, so that the loop keeps it in a register. The values are those of as many
// calls of randomInRange; nothing else may draw from randomSeed while it lives.
class RandomDraws {
 public:
  RandomDraws() : seed(randomSeed.load(std::memory_order_relaxed)) {}
  ~RandomDraws() { randomSeed.store(seed, std::memory_order_relaxed); }
  RandomDraws(const RandomDraws&) = delete;
  RandomDraws& operator=(const RandomDraws&) = delete;

  float inRange(float lo, float hi) {
    seed = nextRandomState(seed);
    return randomValueInRange(seed, lo, hi);
  }

 private:
  std::uint32_t seed;
};

// White noise from randomInRange (lo, hi) through three leaky integrators (an economy pink-noise filter);
// b0, b1 and b2 are the caller's filter cells.
float pinkNoise(float lo, float hi, float& b0, float& b1, float& b2);

// Advances lfoSeed the same way as randomSeed and answers seed * 4.66e-10 - 1 (-1 to about 1.0015).
float randomBipolar();
