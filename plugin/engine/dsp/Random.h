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

// Advances randomSeed (seed * 196314165 + 907633515 modulo 2^32) and answers
// (hi - lo) * (seed * 2.33e-10) + lo, which lies in lo..lo + 1.00073 * (hi - lo).
float randomInRange(float lo, float hi);

// White noise from randomInRange (lo, hi) through three leaky integrators (an economy pink-noise filter);
// b0, b1 and b2 are the caller's filter cells.
float pinkNoise(float lo, float hi, float& b0, float& b1, float& b2);

// Advances lfoSeed the same way as randomSeed and answers seed * 4.66e-10 - 1 (-1 to about 1.0015).
float randomBipolar();
