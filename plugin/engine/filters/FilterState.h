#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>

// Everything of one filter channel in one array of floats: its settings, coefficients, history and, for the
// delay-based types, a ring. Integer quantities (indices, counts, tap positions) are stored as whole numbers
// and read by truncation. The layout is shared by the selection (which writes settings), the kernels (which
// use them and update the history) and the reset and copy operations.
struct FilterState {
  static constexpr std::int32_t kSize = 65536;

  float element[kSize];

  void clear() { std::fill(std::begin(element), std::end(element), 0.0f); }
};

// Filters buffer[0..count-1] in place with one state.
using FilterKernel = void (*)(float* buffer, std::int32_t count, FilterState* state);

// Element indexes common to every filter type.
namespace FilterElement {
constexpr std::int32_t type = 0;        // internal filter type, or the no-filter value
constexpr std::int32_t sampleRate = 1;  // Hz
constexpr std::int32_t cutoff = 2;      // 0..1
constexpr std::int32_t resonance = 3;   // 0..1
constexpr std::int32_t family = 8;      // chooses what reset and copy touch
constexpr std::int32_t gain = 9;        // output (or input) gain of the kernel
constexpr std::int32_t firstParameter = 10;
constexpr std::int32_t firstWork = 20;
}  // namespace FilterElement

// Family codes stored in the family element.
namespace FilterFamily {
constexpr std::int32_t biquadSerial = 0;
constexpr std::int32_t biquadParallel = 1;
constexpr std::int32_t biquadAllpassMix = 2;
constexpr std::int32_t stateVariable = 3;
constexpr std::int32_t resonator = 4;
constexpr std::int32_t comb = 5;
constexpr std::int32_t multiTapComb = 6;
constexpr std::int32_t amplitudeModulation = 7;
constexpr std::int32_t vibrato = 8;
constexpr std::int32_t resampler = 9;
constexpr std::int32_t ladder = 10;
constexpr std::int32_t delay = 11;
constexpr std::int32_t reverb = 12;
constexpr std::int32_t noisyLadder = 14;
}  // namespace FilterFamily

// Family parameters and work elements.
namespace BiquadElement {
constexpr std::int32_t setA = 10;  // b0, b1, b2, A1, A2
constexpr std::int32_t setB = 20;  // b0, b1, b2, A1, A2
constexpr std::int32_t historyA = 30;
constexpr std::int32_t historyB = 40;
}  // namespace BiquadElement

namespace SvfElement {
constexpr std::int32_t frequency = 10;
constexpr std::int32_t damping = 11;
constexpr std::int32_t mixLow = 12;
constexpr std::int32_t mixBand = 13;
constexpr std::int32_t mixHigh = 14;
constexpr std::int32_t low = 20;
constexpr std::int32_t band = 21;
constexpr std::int32_t high = 22;
}  // namespace SvfElement

namespace DelayLineElement {
constexpr std::int32_t targetLength = 10;
constexpr std::int32_t startLength = 11;
constexpr std::int32_t glideLength = 12;
constexpr std::int32_t glideCount = 14;
constexpr std::int32_t feedback = 15;
constexpr std::int32_t writePosition = 20;
constexpr std::int32_t ring = 40;
constexpr std::int32_t ringSize = 32768;
}  // namespace DelayLineElement

namespace AmElement {
constexpr std::int32_t increment = 10;
constexpr std::int32_t depth = 11;
constexpr std::int32_t phase = 20;
}  // namespace AmElement

namespace VibratoElement {
constexpr std::int32_t increment = 10;
constexpr std::int32_t depthTarget = 11;
constexpr std::int32_t inputCoefficient = 12;
constexpr std::int32_t waveIndex = 13;
constexpr std::int32_t writePosition = 20;
constexpr std::int32_t phase = 21;
constexpr std::int32_t previousDepth = 22;
constexpr std::int32_t low = 30;
constexpr std::int32_t band = 31;
constexpr std::int32_t high = 32;
constexpr std::int32_t ring = DelayLineElement::ring;
}  // namespace VibratoElement

namespace ResampleElement {
constexpr std::int32_t period = 10;
constexpr std::int32_t inversePeriod = 11;
constexpr std::int32_t held = 20;
constexpr std::int32_t sum = 21;
constexpr std::int32_t count = 22;
}  // namespace ResampleElement

namespace LadderElement {
constexpr std::int32_t p = 10;
constexpr std::int32_t k = 11;
constexpr std::int32_t feedback = 12;
constexpr std::int32_t mix = 13;             // c0..c4 in 13..17
constexpr std::int32_t noiseAmplitude = 13;  // noisy ladder only
constexpr std::int32_t stages = 20;          // x', y1..y4 in 20..24
constexpr std::int32_t inputs = 30;          // previous stage inputs s0..s3 in 30..33
constexpr std::int32_t noiseCells = 40;      // noisy ladder: pink-noise cells 40..42
}  // namespace LadderElement

namespace ReverbElement {
constexpr std::int32_t length = 10;
constexpr std::int32_t tapFeedback = 11;
constexpr std::int32_t tapCount = 12;
constexpr std::int32_t outputScale = 13;
constexpr std::int32_t damping = 14;
constexpr std::int32_t writePosition = 20;
constexpr std::int32_t memory = 21;
constexpr std::int32_t taps = 30;
constexpr std::int32_t maxTaps = 30;
constexpr std::int32_t ring = 4000;
constexpr std::int32_t ringSize = 32768;
}  // namespace ReverbElement
