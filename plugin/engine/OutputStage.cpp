#include "plugin/engine/OutputStage.h"

#include <cmath>

#include "plugin/engine/dsp/FastMath.h"

void OutputLimiter::process(float* left, float* right, bool* limited, int32_t frames, float sampleRate) {
  const float k = 3.0f / sampleRate;
  restingLevel = 1e-6f / k;
  for (int32_t i = 0; i < frames; ++i) {
    level = (fastAbs(left[i]) + fastAbs(right[i])) * k + ((1.0f - k) * level + 1e-6f);
    if (!std::isfinite(level)) level = 0.0f;
    limited[i] = level >= 1.0f;
    if (limited[i]) {
      const float g = (1.0f / level) * 0.7f + 0.3f;
      left[i] *= g;
      right[i] *= g;
    }
  }
}

bool SilenceDetector::periodEnded(float signalLevel, int32_t samples, float sampleRate) {
  silentSamples = signalLevel < 0.005f ? silentSamples + samples : 0;
  if (static_cast<double>(silentSamples) > static_cast<double>(sampleRate) * 5.0) {
    silentSamples = 0;
    return true;
  }
  return false;
}
