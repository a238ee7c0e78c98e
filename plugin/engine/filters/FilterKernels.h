#pragma once

#include <cstdint>

#include "plugin/engine/filters/FilterState.h"

// The filter kernels: each filters a block in place with one state, adding 1e-6 to every input sample before
// using it (except the resampler, which averages the raw input). They allocate nothing, call no library
// function and change only the work elements of the state (and a delay line's glide count).

// Leaves the buffer unchanged.
void emptyKernel(float* buffer, std::int32_t count, FilterState* state);

// Biquad pairs: stage A (set A) then stage B (set B); both fed by the input; B(A(x)) - A(x) + x.
void biquadSerialKernel(float* buffer, std::int32_t count, FilterState* state);
void biquadParallelKernel(float* buffer, std::int32_t count, FilterState* state);
void biquadAllpassMixKernel(float* buffer, std::int32_t count, FilterState* state);

// State-variable filter with a low/band/high output mix; the saturated form limits its low-pass integrator.
void svfKernel(float* buffer, std::int32_t count, FilterState* state);
void saturatedSvfKernel(float* buffer, std::int32_t count, FilterState* state);

// Four one-pole stages with feedback and a five-tap mix; the noisy form modulates its pole by pink noise.
void ladderKernel(float* buffer, std::int32_t count, FilterState* state);
void noisyLadderKernel(float* buffer, std::int32_t count, FilterState* state);

// Sample-and-hold of block averages.
void resampleKernel(float* buffer, std::int32_t count, FilterState* state);

// Delay-line filters with a length that glides across one control period.
void delayKernel(float* buffer, std::int32_t count, FilterState* state);
void resonatorKernel(float* buffer, std::int32_t count, FilterState* state);
void combKernel(float* buffer, std::int32_t count, FilterState* state);
void comb2Kernel(float* buffer, std::int32_t count, FilterState* state);
void comb5Kernel(float* buffer, std::int32_t count, FilterState* state);

// Amplitude modulation by a sine; a delay modulated by one of five 16-point waves.
void amKernel(float* buffer, std::int32_t count, FilterState* state);
void vibratoKernel(float* buffer, std::int32_t count, FilterState* state);

// Up to 30 taps into one ring with damped feedback.
void reverbKernel(float* buffer, std::int32_t count, FilterState* state);

// Filters the left and the right channel of a filter, each with its own state: the same samples as kernel
// run on each channel, but kernels that have a pair form below run both channels side by side.
void runFilterPair(FilterKernel kernel, float* left, float* right, std::int32_t count, FilterState* leftState,
                   FilterState* rightState);

// Pair forms of kernels: the kernel of the same name without "Pair" run on left with leftState and on right
// with rightState.
using FilterPairKernel = void (*)(float* left, float* right, std::int32_t count, FilterState* leftState,
                                  FilterState* rightState);
void biquadSerialPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                            FilterState* rightState);
void biquadParallelPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                              FilterState* rightState);
void biquadAllpassMixPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                                FilterState* rightState);
void svfPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                   FilterState* rightState);
void saturatedSvfPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                            FilterState* rightState);
void ladderPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                      FilterState* rightState);
