#pragma once

#include <cstdint>

// The output limiter: an envelope of the summed magnitudes of both channels; where it reaches 1 the
// samples are scaled by 0.7 / envelope + 0.3.
class OutputLimiter {
 public:
  // Limits frames samples of both channels in place; sets limited[i] to whether it acted on sample i.
  void process(float* left, float* right, bool* limited, int32_t frames, float sampleRate);

  float envelope() const { return level; }

  // The envelope above the level at which it rests in silence: the small constant that each sample
  // adds (against denormals) holds it at 1e-6 / k, about 0.0147 at 44100 Hz.
  float signalLevel() const { return level - restingLevel; }

 private:
  float level = 0.0f;
  float restingLevel = 0.0f;
};

// Puts the engine to sleep after more than five seconds of control periods whose limiter signal level
// ends below 0.005. The quiet time is counted in samples (at 44.1 kHz: after the 6126th quiet period of
// 36 samples).
class SilenceDetector {
 public:
  // Counts a period of samples; answers true when the engine should sleep after it (and starts counting
  // afresh).
  bool periodEnded(float signalLevel, int32_t samples, float sampleRate);

  // Starts counting afresh: a note has begun, whose sound may take a while to rise above the quiet level.
  void restart() { silentSamples = 0; }

 private:
  int64_t silentSamples = 0;
};
