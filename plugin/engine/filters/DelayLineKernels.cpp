#include "plugin/engine/filters/DelayTap.h"
#include "plugin/engine/filters/FilterKernels.h"

namespace {

// The ring of a delay-line filter at one sample: taps behind the write position and feedback into it.
class DelayLineSample {
 public:
  DelayLineSample(float* ring, std::uint32_t write) : ring(ring), write(write) {}
  float tap(float delay) const { return readDelayTap(ring, write, delay); }
  void feedBack(float value) { ring[write] += value; }

 private:
  float* const ring;
  const std::uint32_t write;
};

// Glides the length from the start to the target across the glide length (in samples counted since the
// previous selection); a zero glide length plays the target at once.
float glidePosition(float counted, float glideLength) {
  if (glideLength == 0.0f) return 1.0f;
  const float t = counted / glideLength;
  if (!(t > 0.0f)) return 0.0f;
  return t < 1.0f ? t : 1.0f;
}

// Writes each input into the ring, then lets voice (sample, input, length) read taps, feed back and
// answer the output.
template <typename Voice>
void runDelayLine(float* buffer, std::int32_t count, FilterState* state, Voice voice) {
  float* const e = state->element;
  float* const ring = e + DelayLineElement::ring;
  const float target = e[DelayLineElement::targetLength];
  const float start = e[DelayLineElement::startLength];
  const float glideLength = e[DelayLineElement::glideLength];
  float counted = e[DelayLineElement::glideCount];
  std::uint32_t write = ringPosition(e[DelayLineElement::writePosition]);
  for (std::int32_t i = 0; i < count; ++i) {
    const float x = buffer[i] + 1e-6f;
    ring[write] = x;
    counted += 1.0f;
    const float t = glidePosition(counted, glideLength);
    const float length = (1.0f - t) * start + t * target;
    DelayLineSample sample(ring, write);
    buffer[i] = voice(sample, x, length);
    write = (write + 1u) & kFilterRingMask;
  }
  e[DelayLineElement::glideCount] = counted;
  e[DelayLineElement::writePosition] = static_cast<float>(write);
}

}  // namespace

void delayKernel(float* buffer, std::int32_t count, FilterState* state) {
  runDelayLine(buffer, count, state, [](DelayLineSample& line, float, float d) { return line.tap(d); });
}

void resonatorKernel(float* buffer, std::int32_t count, FilterState* state) {
  const float feedback = state->element[DelayLineElement::feedback];
  const float gain = state->element[FilterElement::gain];
  runDelayLine(buffer, count, state, [feedback, gain](DelayLineSample& line, float x, float d) {
    const float y = x - line.tap(d);
    line.feedBack(y * feedback);
    return y * gain;
  });
}

void combKernel(float* buffer, std::int32_t count, FilterState* state) {
  const float feedback = state->element[DelayLineElement::feedback];
  const float gain = state->element[FilterElement::gain];
  runDelayLine(buffer, count, state, [feedback, gain](DelayLineSample& line, float x, float d) {
    const float y = (line.tap(d) + x) * 0.5f;
    line.feedBack(y * feedback * 2.0f);
    return y * gain;
  });
}

void comb2Kernel(float* buffer, std::int32_t count, FilterState* state) {
  const float feedback = state->element[DelayLineElement::feedback];
  const float gain = state->element[FilterElement::gain];
  runDelayLine(buffer, count, state, [feedback, gain](DelayLineSample& line, float x, float d) {
    const float y = x - line.tap(d) + line.tap(2.0f * d);
    line.feedBack(y * feedback * 0.49f);
    return y * gain;
  });
}

void comb5Kernel(float* buffer, std::int32_t count, FilterState* state) {
  const float feedback = state->element[DelayLineElement::feedback];
  const float gain = state->element[FilterElement::gain];
  runDelayLine(buffer, count, state, [feedback, gain](DelayLineSample& line, float x, float d) {
    const float y = x - line.tap(d) + line.tap(2.0f * d) - line.tap(3.0f * d) + line.tap(4.0f * d);
    line.feedBack(y * feedback * 0.25f);
    return y * gain;
  });
}
