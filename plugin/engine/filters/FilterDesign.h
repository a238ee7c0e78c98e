#pragma once

#include <cstdint>

// The normalised frequency (cycles per sample) of a cutoff value 0..1: 0.45 * 44100 Hz * e^(-6 (1 - cutoff))
// over the sample rate, with the engine's fast exponential; not limited.
float normalisedFrequency(float cutoff, std::int32_t sampleRate);

// Designs one biquad coefficient set (b0, b1, b2, A1, A2), the feedback coefficients negated and normalised,
// from a cutoff value (not limited; a non-finite value counts as 0), a quality value (limited to 0..1) and a
// design mode:
// 0, 1 resonant low-pass; 2 resonant high-pass; 3 band-pass; 4, 5, 9, 10, 12 peaks; 6 notch; 7 low shelf;
// 8 high shelf; 11 all-pass. Any other mode designs a pass-through set.
void designFilterCoefficients(std::int32_t mode, float cutoff, float q, float* b0, float* b1, float* b2,
                              float* a1, float* a2, std::int32_t sampleRate);
