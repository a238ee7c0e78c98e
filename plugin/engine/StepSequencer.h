#pragma once

#include <cstdint>

// Number of entries of the "StepSync" and "StepShap" menus.
constexpr int32_t stepSyncCount = 25;
constexpr int32_t stepShapeCount = 20;

// Patterns of 16 steps per beat for a sync entry; entries outside the menu are held at its ends.
float stepPatternsPerBeat(int32_t syncEntry);

// Advances the sequencer by one control tick of period samples and answers its value. steps holds
// the 16 step values (a step is on above 0.5); beats is the beat clock from its last restart (double
// precision), lastFraction the position inside the step at the previous tick, level the decaying level of the
// exponential, fade and random shapes; currentStep receives the step 0..15. Shapes outside the menu
// give 0.
float stepSequencerTick(int32_t syncEntry, int32_t shape, float period, float sampleRate, float tempo,
                        const float* steps, double& beats, float& lastFraction, float& level,
                        int32_t& currentStep);
