#pragma once

#include <cstdint>

#include "plugin/engine/filters/FilterState.h"

// Writes the settings and coefficients of an internal filter type (0..83) at a cutoff and resonance
// (each limited to 0..1; a non-finite value counts as 0) into a filter's left state and answers the kernel
// that processes it. A type outside 0..83, one without a recipe, or a sample rate below 1 Hz selects no
// filter (emptyKernel).
// The delay-line types read the previous target length and glide count of the same state, so this runs
// once per control tick on each filter's left state, followed by copyFilterSettings into its right state.
FilterKernel selectFilterKernel(std::int32_t sampleRate, std::int32_t type, float cutoff, float resonance,
                                FilterState* state);

// Clears the history (work elements) of the state's family.
void resetFilterState(FilterState* state);

// Copies the settings and coefficients of from's family into to, leaving to's history alone.
void copyFilterSettings(const FilterState* from, FilterState* to);
