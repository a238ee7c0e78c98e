#pragma once

#include <atomic>
#include <cstdint>

// The process-wide random state of the LFO shapes and the step sequencer, separate from the one
// of the DSP routines. Two threads may advance it; a lost update only repeats or skips a value.
extern std::atomic<uint32_t> lfoSeed;

// Advances lfoSeed and answers its bipolar value, -1 .. about 1.0015.
float nextLfoRandom();

// The running state of one control-rate LFO.
struct LfoState {
  float phase = 0.0f;      // 0..1
  float lastPhase = 0.0f;  // phase at the previous tick, to see a wrap
  double beats = 0.0;      // beat clock of the synced mode, from its last restart
  float held = 0.0f;       // held value of the random and pulse-width shapes
};

// Number of entries of the "LFO1sync"/"LFO2sync" menu; entry 0 runs freely.
constexpr int32_t lfoSyncCount = 25;

// Cycles per beat of a sync entry; entries outside the menu are held at its ends.
float lfoCyclesPerBeat(int32_t syncEntry);

// The value 0..1 of an LFO shape at phase p; updates the state's last phase and held value.
// Shapes outside 0..14 give 0.
float lfoShape(float p, int32_t shape, float& lastPhase, float& held);

// Advances the LFO by one control tick of period samples and answers its value 0..1. A free LFO
// (syncEntry 0) runs at 72.7 x rate^2 Hz; a synced one follows the beat clock at the tempo.
float lfoTick(float rate, int32_t syncEntry, int32_t shape, float period, float sampleRate, float tempo,
              LfoState& state);
