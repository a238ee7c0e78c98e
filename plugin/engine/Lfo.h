#pragma once

#include <cstdint>

// Number of entries of the "LFO1sync"/"LFO2sync" menu; entry 0 runs freely.
constexpr int32_t lfoSyncCount = 25;

// Cycles per beat of a sync entry; entries outside the menu are held at its ends.
float lfoCyclesPerBeat(int32_t syncEntry);

// The value 0..1 of an LFO shape at phase p; updates the last phase (to see the next wrap) and the
// held value of the random and pulse-width shapes. Shapes outside 0..14 give 0.
float lfoShape(float p, int32_t shape, float& lastPhase, float& held);

// Advances the LFO by one control tick of period samples and answers its value 0..1. A free LFO
// (syncEntry 0) runs at 72.7 x rate^2 Hz from its phase; a synced one follows its beat clock,
// which counts beats at the tempo from its last restart (in double precision, so that the tempo
// stays exact after hours of counting).
float lfoTick(float rate, int32_t syncEntry, int32_t shape, float period, float sampleRate, float tempo,
              float& phase, float& lastPhase, double& beats, float& held);
