#pragma once

#include <cstdint>

// The audio-rate oscillator: an LFO whose waveform plays every held MIDI key at the key's pitch.
// Phases, levels and the auxiliary values run freely for the life of the plug-in; nothing resets them.
struct AudioOscillatorState {
  static constexpr int32_t keyCount = 128;

  float keyLevel[keyCount] = {};       // level smoothed toward the key's target, shared by both LFOs
  float noteIncrement[keyCount] = {};  // phase step per sample of each key at 44100 Hz
  float phase[2][keyCount] = {};       // per LFO and key, 0..1
  float lastPhase[2][keyCount] = {};   // phase before the last step
  float aux[2][keyCount] = {};         // random value, decaying pulse or slow modulator phase
  float held[2][keyCount] = {};        // held random value ("Random" uses the first entry only)
};

// Fills the note table: key n sounds at 8.1758 Hz x 2^(n/12) (about 0.58 % above its pitch).
void buildNoteTable(float* noteIncrement);

// Adds shape's waveform for every sounding key into buffer. keyTarget holds the target level of
// each key (0 when released); freq scales each key's phase step; send scales the level (negative
// inverts). Shapes outside 0..14 add nothing.
void renderOscillator(float* buffer, int32_t count, AudioOscillatorState& state, const float* keyTarget,
                      int32_t lfo, int32_t shape, float freq, float send, float sampleRate);
