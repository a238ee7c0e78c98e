#pragma once

#include <cstdint>

// The four taps of the stereo delay: each reads both delay lines at a multiple of the delay length
// and adds them into both channels with its own gains.
struct DelayTaps {
  static constexpr int32_t count = 4;

  float factor[count] = {};  // multiple of the delay length
  float ll[count] = {};      // left line into the left channel
  float lr[count] = {};      // right line into the left channel
  float rr[count] = {};      // right line into the right channel
  float rl[count] = {};      // left line into the right channel
};

// What the delay setup hands to rendering.
struct DelaySetup {
  DelayTaps taps;
  bool postFilter = false;     // taps are added after the filters and the distortion
  float target = 0.0f;         // delay length in samples, 0..262143
  bool rampOffsets = true;     // input offsets glide across a control period
  float dcCoefficient = 0.0f;  // of the input DC blocker
};

// The longest delay the rings hold, in samples.
constexpr float longestDelay = 262143.0f;

// The delay length in beats of a "Delaysyn" entry, taken modulo the 12 entries.
float delaySyncBeats(int32_t entry);

// sampleRate x beats x modulation x 60 / tempo, limited to 0..longestDelay (a length that is not a
// number counts as 0).
float delayTargetLength(float sampleRate, float beats, float modulation, float tempo);

// Computes the delay setup from the live parameter values (48 of them), the delay-time modulation of
// the control-rate update, the tempo and the sample rate.
DelaySetup computeDelaySetup(const float* values, float delayModulation, float tempo, float sampleRate);
