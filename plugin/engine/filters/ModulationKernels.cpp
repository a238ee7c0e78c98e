#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/filters/DelayTap.h"
#include "plugin/engine/filters/FilterKernels.h"

namespace {

constexpr float kTwoPi = 6.28318f;
constexpr std::int32_t kWaveCount = 5;
constexpr std::int32_t kWavePoints = 16;

// The vibrato's delay waves, 16 points per turn.
constexpr float kVibratoWaves[kWaveCount][kWavePoints] = {
    {0.0f, 0.383f, 0.707f, 0.924f, 1.0f, 0.924f, 0.707f, 0.383f, 0.0f, -0.383f, -0.707f, -0.924f, -1.0f,
     -0.924f, -0.707f, -0.383f},
    {0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.5f, 0.25f, 0.0f, -0.25f, -0.5f, -0.75f, -1.0f, -0.75f, -0.5f,
     -0.25f},
    {-0.4f, -0.5f, -0.6f, -0.7f, -0.8f, -0.9f, -1.0f, -0.7f, -0.1f, 0.2f, 0.1f, 0.0f, -0.1f, -0.2f, -0.3f,
     0.0f},
    {0.2f, 0.5f, 0.8f, 0.8f, 0.8f, 0.8f, 0.5f, 0.2f, -0.4f, -0.7f, -1.0f, -1.0f, -1.0f, -1.0f, -0.7f, -0.4f},
    {-0.7f, -0.4f, -0.1f, 0.2f, -0.1f, -0.4f, -0.7f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f,
     -1.0f},
};

// v minus its integer part.
float fractionOf(float v) {
  return v - static_cast<float>(truncateToInt32(v));
}

std::int32_t waveIndexOf(float stored) {
  const std::int32_t index = truncateToInt32(stored);
  return index < 0 ? 0 : (index >= kWaveCount ? kWaveCount - 1 : index);
}

}  // namespace

void amKernel(float* buffer, std::int32_t count, FilterState* state) {
  float* const e = state->element;
  const float increment = e[AmElement::increment];
  const float depth = e[AmElement::depth];
  float phase = e[AmElement::phase];
  for (std::int32_t i = 0; i < count; ++i) {
    const float x = buffer[i] + 1e-6f;
    const float angle = phase < 0.5f ? kTwoPi * phase : kTwoPi * phase - kTwoPi;
    buffer[i] = (fastSine(angle) * depth + (1.0f - depth)) * x;
    phase = fractionOf(phase + increment);
  }
  e[AmElement::phase] = phase;
}

void vibratoKernel(float* buffer, std::int32_t count, FilterState* state) {
  float* const e = state->element;
  float* const ring = e + VibratoElement::ring;
  const float increment = e[VibratoElement::increment];
  const float targetDepth = e[VibratoElement::depthTarget];
  const float startDepth = e[VibratoElement::previousDepth];
  const float g = e[VibratoElement::inputCoefficient];
  const float* const wave = kVibratoWaves[waveIndexOf(e[VibratoElement::waveIndex])];
  std::uint32_t write = ringPosition(e[VibratoElement::writePosition]);
  float phase = e[VibratoElement::phase];
  float low = e[VibratoElement::low];
  float band = e[VibratoElement::band];
  float high = e[VibratoElement::high];
  const float pieceLength = static_cast<float>(count);
  for (std::int32_t i = 0; i < count; ++i) {
    const float x = buffer[i] + 1e-6f;
    const float depth =
        (static_cast<float>(count - i) * startDepth + static_cast<float>(i) * targetDepth) / pieceLength;
    const float position = phase * 16.0f;
    const std::int32_t point = truncateToInt32(position);
    const float fraction = position - static_cast<float>(point);
    const std::uint32_t index = static_cast<std::uint32_t>(point);
    const float v = (1.0f - fraction) * wave[index & 15u] + fraction * wave[(index + 1u) & 15u];
    const float delay = v * depth + depth + 1.0f;
    buffer[i] = readDelayTap(ring, write, delay);
    low = low + g * band;
    high = x - low - 0.999f * band;
    band = band + g * high;
    write = (write + 1u) & kFilterRingMask;
    ring[write] = low;
    phase = fractionOf(phase + increment);
  }
  e[VibratoElement::previousDepth] = targetDepth;
  e[VibratoElement::writePosition] = static_cast<float>(write);
  e[VibratoElement::phase] = phase;
  e[VibratoElement::low] = low;
  e[VibratoElement::band] = band;
  e[VibratoElement::high] = high;
}
