#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/engine/tools/ProgramRenderer.h"

// A compact record of how one factory program sounds, to prove that work on the engine's speed leaves
// the sound alone. The program plays two keys, one after the other in fresh effects: C4 (below the
// oscillator's oversampled range) and C7 (inside it), velocity 100, held 0.6 s and released for 0.2 s, in
// blocks of 512 frames and a tempo of 120; both at 44.1 kHz and again at 22.05 kHz, where a control period
// of 18 samples leaves two after the mix's lanes of four, so that the mix's one-by-one tail plays too. Of
// each playing and channel it keeps the samples of every stride-th frame and the sum of the magnitudes of
// all frames.
struct ProgramFingerprint {
  static constexpr int32_t playingCount = 4;
  static constexpr int32_t channelCount = 2;
  static constexpr int32_t pointCount = 64;

  struct Channel {
    float points[pointCount] = {};
    double magnitudeSum = 0.0;
  };

  Channel channels[playingCount][channelCount];
  int32_t frames[playingCount] = {};  // frames of each playing
};

// One playing of a fingerprint: the key, the sample rate and the frames between two kept samples (a
// prime, so that the kept frames fall on every position of the blocks and of the control period).
struct FingerprintPlaying {
  int32_t key;
  double sampleRate;
  int32_t stride;
};

constexpr FingerprintPlaying fingerprintPlayings[ProgramFingerprint::playingCount] = {
    {60, 44100.0, 557}, {96, 44100.0, 557}, {60, 22050.0, 277}, {96, 22050.0, 277}};

// Plays programs 0..programCount - 1 in this order as described above. The plug-in shares its random
// generators among all its effects, so the fingerprints are reproducible when taken from a freshly
// loaded plug-in in this one order.
std::vector<ProgramFingerprint> takeProgramFingerprints(const ProgramRenderer& renderer,
                                                        int32_t programCount);

// The fingerprints of every program as bytes: "ZPFP", the number of programs, the points per channel, the
// number of playings and the frames of each playing as 32-bit integers, then per program, playing and
// channel the points as 32-bit floats and the magnitude sum as a 64-bit float, all little-endian.
std::string encodeFingerprints(const std::vector<ProgramFingerprint>& fingerprints);

// Reads what encodeFingerprints wrote; false (and no fingerprints) when the bytes are not such a record.
bool decodeFingerprints(const void* data, std::size_t size, std::vector<ProgramFingerprint>& fingerprints);
