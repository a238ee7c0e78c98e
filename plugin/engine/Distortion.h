#pragma once

#include <cstdint>

// One channel of the distortion: the rings of the half-band interpolator and decimator that run
// most shapes at twice the sample rate. "Compressor" keeps its envelope in upRing[0].
struct DistortionState {
  float upRing[16] = {};
  float downRing[16] = {};
  int8_t upPos = 0;
  int8_t downPos = 0;
};

// Distortion types, the entries of the "Disttype" menu.
enum DistortionKind : int32_t {
  distortionBypass = 0,
  distortionTubeAmp = 1,
  distortionHardClip = 2,
  distortionPresence = 3,
  distortionWavewrap = 4,
  distortionWaveshape = 5,
  distortionBitcrush = 6,
  distortionVolume = 7,
  distortionSquare = 8,
  distortionCubic = 9,
  distortionCompressor = 10,
  distortionWarble = 11,
};

// Distorts count samples of buffer in place. Types outside 1..11 leave buffer and state alone.
// drive is limited to 0..8 (a modulated drive can leave 0..1).
void distort(float* buffer, int32_t count, DistortionState& state, int32_t type, float drive,
             float sampleRate);

// distort on the left and the right channel, each with its own state; the oversampled types run both
// channels side by side.
void distortPair(float* left, float* right, int32_t count, DistortionState& leftState,
                 DistortionState& rightState, int32_t type, float drive, float sampleRate);
