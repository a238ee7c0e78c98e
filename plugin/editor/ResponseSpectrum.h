#pragma once

#include <cstdint>

// The magnitude spectrum of a 256-sample impulse response on the scope's logarithmic frequency axis.
namespace ResponseSpectrum {

constexpr std::int32_t sampleCount = 256;
constexpr std::int32_t columnCount = 134;

// Windows the samples (changed in place), transforms them and writes one magnitude per column: column
// c shows bin 1.037^c of the 256-point spectrum (at 48 kHz, 187.5 Hz in column 0 to about 23.5 kHz in
// column 133), interpolated linearly between the two neighbouring bins, each limited to 200000.
void computeSpectrum(float* samples, std::int32_t* columns);

// The bar height of a magnitude: 20 ln(magnitude) (not below 0) less 78, so an unfiltered impulse of
// 100000 stands at 55 and silence at -78.
std::int32_t barHeight(std::int32_t magnitude);

}  // namespace ResponseSpectrum
