#include "plugin/engine/filters/DelayTap.h"
#include "plugin/engine/filters/FilterKernels.h"

void reverbKernel(float* buffer, std::int32_t count, FilterState* state) {
  float* const e = state->element;
  float* const ring = e + ReverbElement::ring;
  const std::int32_t storedCount = truncateToInt32(e[ReverbElement::tapCount]);
  const std::int32_t tapCount =
      storedCount < 0 ? 0 : (storedCount > ReverbElement::maxTaps ? ReverbElement::maxTaps : storedCount);
  const std::int32_t half = tapCount / 2;
  std::uint32_t taps[ReverbElement::maxTaps];
  for (std::int32_t k = 0; k < tapCount; ++k) {
    taps[k] = static_cast<std::uint32_t>(truncateToInt32(e[ReverbElement::taps + k]));
  }
  const float tapFeedback = e[ReverbElement::tapFeedback];
  const float outputScale = e[ReverbElement::outputScale];
  const float damping = e[ReverbElement::damping];
  const float gain = e[FilterElement::gain];
  float memory = e[ReverbElement::memory];
  std::uint32_t write = ringPosition(e[ReverbElement::writePosition]);
  for (std::int32_t i = 0; i < count; ++i) {
    ring[write] = buffer[i] + 1e-6f;
    float added = 0.0f;
    for (std::int32_t k = 0; k < half; ++k) added += ring[(write - taps[k]) & kFilterRingMask];
    float subtracted = 0.0f;
    for (std::int32_t k = half; k < tapCount; ++k) subtracted += ring[(write - taps[k]) & kFilterRingMask];
    const float acc = added - subtracted;
    memory = acc * tapFeedback * damping + (1.0f - damping) * memory;
    ring[write] -= memory;
    buffer[i] = acc * outputScale * gain;
    write = (write + 1u) & kFilterRingMask;
  }
  e[ReverbElement::memory] = memory;
  e[ReverbElement::writePosition] = static_cast<float>(write);
}
