#include "plugin/editor/ResponseSpectrum.h"

#include <algorithm>
#include <cmath>

#include "plugin/editor/RealFft.h"

namespace ResponseSpectrum {

namespace {

constexpr std::int32_t binCount = sampleCount / 2;
constexpr float magnitudeLimit = 200000.0f;
constexpr float columnRatio = 1.037f;
constexpr float lastBinPosition = 254.0f;
constexpr std::int32_t heightShift = 78;

}  // namespace

void computeSpectrum(float* samples, std::int32_t* columns) {
  for (std::int32_t i = 0; i < sampleCount; ++i) {
    samples[i] *= 1.0f + std::cos(static_cast<float>(i) * 3.14159f * 0.00390625f);
  }
  realFft(samples, sampleCount);

  std::int32_t magnitudes[binCount] = {};
  for (std::int32_t k = 1; k < binCount; ++k) {
    const float re = samples[k];
    const float im = samples[sampleCount - k];
    magnitudes[k] = static_cast<std::int32_t>(std::min(std::sqrt(re * re + im * im), magnitudeLimit));
  }

  float position = 1.0f;
  for (std::int32_t c = 0; c < columnCount; ++c) {
    const std::int32_t bin = static_cast<std::int32_t>(position);
    const float fraction = position - static_cast<float>(bin);
    const std::int32_t next = static_cast<std::int32_t>(position + 1.0f);
    columns[c] = static_cast<std::int32_t>(static_cast<float>(magnitudes[bin]) * (1.0f - fraction) +
                                           static_cast<float>(magnitudes[next]) * fraction);
    position *= columnRatio;
    if (position > lastBinPosition) position = lastBinPosition;
  }
}

std::int32_t barHeight(std::int32_t magnitude) {
  const float level = std::max(0.0f, 20.0f * std::log(static_cast<float>(magnitude)));
  return static_cast<std::int32_t>(level) - heightShift;
}

}  // namespace ResponseSpectrum
