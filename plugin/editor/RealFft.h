#pragma once

#include <cstdint>

// The in-place split-radix FFT of n real samples (n a power of two, at least 4), after Sorensen, Jones,
// Heideman and Burrus (1987), scaled by 1/n. Afterwards data[0] is Re X(0), data[k] is Re X(k) for
// k = 1..n/2 and data[n - k] is Im X(k) for k = 1..n/2 - 1. The twiddle factors come from the
// plug-in's fast sine and cosine, so the result matches what the engine's arithmetic gives.
void realFft(float* data, std::int32_t n);
