#pragma once

#include <array>
#include <cstdint>

#include "plugin/engine/tools/ProgramRenderer.h"

// Third-octave bands from 25 Hz to 16 kHz.
constexpr int32_t thirdOctaveBandCount = 29;

// The centre frequency of third-octave band 0..thirdOctaveBandCount - 1.
double thirdOctaveCentre(int32_t band);

// What a listener notices in one playing, measured on the mono sum of both channels unless said
// otherwise. Levels are dB relative to full scale (a sample value of 1).
struct SoundMeasurements {
  bool finite = true;                  // no NaN or infinity anywhere
  double heldPower = 0.0;              // mean square of both channels while the key is held
  double heldRmsDb = -200.0;           // heldPower in dB
  double peakDb = -200.0;              // largest sample magnitude of either channel
  double dcOffset = 0.0;               // largest mean of a channel while held
  double centroidHz = 0.0;             // spectral centroid of the average held spectrum
  double lowShare = 0.0;               // share of the held power below 250 Hz
  double modulationDepthDb = 0.0;      // spread of the level envelope after the first quarter second
  double modulationRateHz = 0.0;       // strongest periodicity of that envelope, 0 when flat
  double modulationPeriodicity = 0.0;  // normalised autocorrelation at that period
  double attackSeconds = 0.0;          // time until the envelope first comes within 3 dB of its top
  double envelopeCrestDb = 0.0;        // top of the held envelope over its median
  double releaseSeconds = 0.0;         // time after release until 40 dB below the held level
  double limiterShare = 0.0;           // share of blocks in which the output limiter acted
  double unlimitedPeakDb = -200.0;     // largest sample magnitude before the output limiter
  double centroidSpanOctaves = 0.0;    // range of the centroid over time (10th to 90th percentile)
  double peakSpanOctaves = 0.0;        // range of the strongest frequency over time, likewise
  double pitchClarity = 0.0;           // best normalised autocorrelation of the held signal
  std::array<double, thirdOctaveBandCount> thirdOctaveDb{};  // average held spectrum
};

SoundMeasurements measureRendering(const StereoRendering& rendering);
