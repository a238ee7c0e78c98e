#include <algorithm>

#include "plugin/engine/dsp/FloatVector.h"
#include "plugin/engine/filters/DelayTap.h"
#include "plugin/engine/filters/FilterKernels.h"

namespace {

// Samples taken four at a time: the taps of all four are summed side by side when every tap reaches
// at least four samples back (and not round to the four being written).
constexpr std::uint32_t kBlock = 4;

class Reverb {
 public:
  explicit Reverb(FilterState* state)
      : e(state->element),
        ring(e + ReverbElement::ring),
        tapFeedback(e[ReverbElement::tapFeedback]),
        outputScale(e[ReverbElement::outputScale]),
        damping(e[ReverbElement::damping]),
        gain(e[FilterElement::gain]),
        memory(e[ReverbElement::memory]),
        write(ringPosition(e[ReverbElement::writePosition])) {
    const std::int32_t storedCount = truncateToInt32(e[ReverbElement::tapCount]);
    tapCount =
        storedCount < 0 ? 0 : (storedCount > ReverbElement::maxTaps ? ReverbElement::maxTaps : storedCount);
    half = tapCount / 2;
    for (std::int32_t k = 0; k < tapCount; ++k) {
      // A tap position beyond the ring wraps with the position mask.
      distance[k] = static_cast<std::uint32_t>(truncateToInt32(e[ReverbElement::taps + k])) & kFilterRingMask;
      blocks = blocks && distance[k] >= kBlock && distance[k] <= kFilterRingMask + 1 - kBlock;
    }
  }
  ~Reverb() {
    e[ReverbElement::memory] = memory;
    e[ReverbElement::writePosition] = static_cast<float>(write);
  }
  Reverb(const Reverb&) = delete;
  Reverb& operator=(const Reverb&) = delete;

  void run(float* buffer, std::int32_t count) {
    std::int32_t i = 0;
    while (blocks && i + static_cast<std::int32_t>(kBlock) <= count) {
      const std::int32_t ahead = std::min(blocksAhead(), (count - i) / static_cast<std::int32_t>(kBlock));
      if (ahead == 0) runSample(buffer + i++);
      for (std::int32_t block = 0; block < ahead; ++block, i += kBlock) runBlock(buffer + i);
    }
    for (; i < count; ++i) runSample(buffer + i);
  }

 private:
  void runSample(float* sample) {
    ring[write] = *sample + 1e-6f;
    float added = 0.0f;
    for (std::int32_t k = 0; k < half; ++k) added += *tapRead(k);
    float subtracted = 0.0f;
    for (std::int32_t k = half; k < tapCount; ++k) subtracted += *tapRead(k);
    const float acc = added - subtracted;
    memory = acc * tapFeedback * damping + (1.0f - damping) * memory;
    ring[write] -= memory;
    *sample = acc * outputScale * gain;
    write = (write + 1u) & kFilterRingMask;
  }

  // How many blocks can run before the four samples written or the four read by a tap pass the end of
  // the ring.
  std::int32_t blocksAhead() const {
    constexpr std::uint32_t lastStart = kFilterRingMask + 1 - kBlock;
    std::uint32_t nearest = write;
    for (std::int32_t k = 0; k < tapCount; ++k) {
      nearest = std::max(nearest, (write - distance[k]) & kFilterRingMask);
    }
    return nearest > lastStart ? 0 : static_cast<std::int32_t>((lastStart - nearest) / kBlock + 1);
  }

  // Four samples at once, the same arithmetic as four runSample calls (for a block that blocksAhead
  // allows).
  void runBlock(float* samples) {
    FloatVector added;
    for (std::int32_t k = 0; k < half; ++k) added = added + FloatVector::load(tapRead(k));
    FloatVector subtracted;
    for (std::int32_t k = half; k < tapCount; ++k) subtracted = subtracted + FloatVector::load(tapRead(k));
    const FloatVector acc = added - subtracted;
    float fedBack[kBlock];
    (acc * FloatVector(tapFeedback) * FloatVector(damping)).store(fedBack);
    for (std::uint32_t j = 0; j < kBlock; ++j) {
      memory = fedBack[j] + (1.0f - damping) * memory;
      const float input = samples[j] + 1e-6f;
      ring[write + j] = input - memory;
    }
    (acc * FloatVector(outputScale) * FloatVector(gain)).store(samples);
    write = (write + kBlock) & kFilterRingMask;
  }

  const float* tapRead(std::int32_t k) const { return ring + ((write - distance[k]) & kFilterRingMask); }

  float* const e;
  float* const ring;
  const float tapFeedback;
  const float outputScale;
  const float damping;
  const float gain;
  float memory;
  std::uint32_t write;
  std::int32_t tapCount = 0;
  std::int32_t half = 0;
  std::uint32_t distance[ReverbElement::maxTaps] = {};
  bool blocks = true;
};

}  // namespace

void reverbKernel(float* buffer, std::int32_t count, FilterState* state) {
  Reverb(state).run(buffer, count);
}
