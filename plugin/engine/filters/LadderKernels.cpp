#include "plugin/engine/dsp/Random.h"
#include "plugin/engine/filters/FilterKernels.h"

namespace {

// Four one-pole stages y = (u + u[-1]) p - k y[-1] with the output of the last fed back into the input.
class Ladder {
 public:
  explicit Ladder(float* e)
      : e(e),
        feedback(e[LadderElement::feedback]),
        x(e[LadderElement::stages]),
        y1(e[LadderElement::stages + 1]),
        y2(e[LadderElement::stages + 2]),
        y3(e[LadderElement::stages + 3]),
        y4(e[LadderElement::stages + 4]),
        s0(e[LadderElement::inputs]),
        s1(e[LadderElement::inputs + 1]),
        s2(e[LadderElement::inputs + 2]),
        s3(e[LadderElement::inputs + 3]) {}
  ~Ladder() {
    e[LadderElement::stages] = x;
    e[LadderElement::stages + 1] = y1;
    e[LadderElement::stages + 2] = y2;
    e[LadderElement::stages + 3] = y3;
    e[LadderElement::stages + 4] = y4;
    e[LadderElement::inputs] = s0;
    e[LadderElement::inputs + 1] = s1;
    e[LadderElement::inputs + 2] = s2;
    e[LadderElement::inputs + 3] = s3;
  }
  Ladder(const Ladder&) = delete;
  Ladder& operator=(const Ladder&) = delete;

  void step(float input, float p, float k) {
    x = input + 1e-6f - feedback * y4;
    y1 = (x + s0) * p - k * y1;
    y2 = (y1 + s1) * p - k * y2;
    y3 = (y2 + s2) * p - k * y3;
    y4 = (y3 + s3) * p - k * y4;
    s0 = x;
    s1 = y1;
    s2 = y2;
    s3 = y3;
  }

  float* const e;
  const float feedback;
  float x, y1, y2, y3, y4;
  float s0, s1, s2, s3;
};

}  // namespace

void ladderKernel(float* buffer, std::int32_t count, FilterState* state) {
  float* const e = state->element;
  const float p = e[LadderElement::p];
  const float k = e[LadderElement::k];
  const float c0 = e[LadderElement::mix];
  const float c1 = e[LadderElement::mix + 1];
  const float c2 = e[LadderElement::mix + 2];
  const float c3 = e[LadderElement::mix + 3];
  const float c4 = e[LadderElement::mix + 4];
  const float gain = e[FilterElement::gain];
  Ladder ladder(e);
  for (std::int32_t i = 0; i < count; ++i) {
    ladder.step(buffer[i], p, k);
    buffer[i] = (c0 * ladder.x + c1 * ladder.y1 + c2 * ladder.y2 + c3 * ladder.y3 + c4 * ladder.y4) * gain;
  }
}

void noisyLadderKernel(float* buffer, std::int32_t count, FilterState* state) {
  float* const e = state->element;
  const float k = e[LadderElement::k];
  const float amplitude = e[LadderElement::noiseAmplitude];
  float& b0 = e[LadderElement::noiseCells];
  float& b1 = e[LadderElement::noiseCells + 1];
  float& b2 = e[LadderElement::noiseCells + 2];
  Ladder ladder(e);
  for (std::int32_t i = 0; i < count; ++i) {
    const float noise = pinkNoise(-0.2f * amplitude, 0.2f * amplitude, b0, b1, b2);
    const float modulatedK = noise + k;
    ladder.step(buffer[i], (modulatedK + 1.0f) * 0.5f, modulatedK);
    buffer[i] = ladder.y4 * 1.5f;
  }
}
