#include "plugin/engine/dsp/Random.h"
#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/KernelChannels.h"

namespace {

// Four one-pole stages y = (u + u[-1]) p - k y[-1] with the output of the last fed back into the input.
template <typename Channels>
class Ladder {
 public:
  using Value = typename Channels::Value;

  explicit Ladder(Channels& channels)
      : channels(channels),
        feedback(channels.element(LadderElement::feedback)),
        x(channels.element(LadderElement::stages)),
        y1(channels.element(LadderElement::stages + 1)),
        y2(channels.element(LadderElement::stages + 2)),
        y3(channels.element(LadderElement::stages + 3)),
        y4(channels.element(LadderElement::stages + 4)),
        s0(channels.element(LadderElement::inputs)),
        s1(channels.element(LadderElement::inputs + 1)),
        s2(channels.element(LadderElement::inputs + 2)),
        s3(channels.element(LadderElement::inputs + 3)) {}
  ~Ladder() {
    channels.setElement(LadderElement::stages, x);
    channels.setElement(LadderElement::stages + 1, y1);
    channels.setElement(LadderElement::stages + 2, y2);
    channels.setElement(LadderElement::stages + 3, y3);
    channels.setElement(LadderElement::stages + 4, y4);
    channels.setElement(LadderElement::inputs, s0);
    channels.setElement(LadderElement::inputs + 1, s1);
    channels.setElement(LadderElement::inputs + 2, s2);
    channels.setElement(LadderElement::inputs + 3, s3);
  }
  Ladder(const Ladder&) = delete;
  Ladder& operator=(const Ladder&) = delete;

  void step(Value input, Value p, Value k) {
    x = input + Value(1e-6f) - feedback * y4;
    y1 = (x + s0) * p - k * y1;
    y2 = (y1 + s1) * p - k * y2;
    y3 = (y2 + s2) * p - k * y3;
    y4 = (y3 + s3) * p - k * y4;
    s0 = x;
    s1 = y1;
    s2 = y2;
    s3 = y3;
  }

  Channels& channels;
  const Value feedback;
  Value x, y1, y2, y3, y4;
  Value s0, s1, s2, s3;
};

template <typename Channels>
void runLadder(Channels channels, std::int32_t count) {
  using Value = typename Channels::Value;
  const Value p = channels.element(LadderElement::p);
  const Value k = channels.element(LadderElement::k);
  const Value c0 = channels.element(LadderElement::mix);
  const Value c1 = channels.element(LadderElement::mix + 1);
  const Value c2 = channels.element(LadderElement::mix + 2);
  const Value c3 = channels.element(LadderElement::mix + 3);
  const Value c4 = channels.element(LadderElement::mix + 4);
  const Value gain = channels.element(FilterElement::gain);
  Ladder<Channels> ladder(channels);
  for (std::int32_t i = 0; i < count; ++i) {
    ladder.step(channels.sample(i), p, k);
    channels.setSample(
        i, (c0 * ladder.x + c1 * ladder.y1 + c2 * ladder.y2 + c3 * ladder.y3 + c4 * ladder.y4) * gain);
  }
}

}  // namespace

void ladderKernel(float* buffer, std::int32_t count, FilterState* state) {
  runLadder(OneChannel(buffer, state), count);
}

void ladderPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                      FilterState* rightState) {
  runLadder(TwoChannels(left, right, leftState, rightState), count);
}

void noisyLadderKernel(float* buffer, std::int32_t count, FilterState* state) {
  OneChannel channel(buffer, state);
  float* const e = state->element;
  const float k = e[LadderElement::k];
  const float amplitude = e[LadderElement::noiseAmplitude];
  float& b0 = e[LadderElement::noiseCells];
  float& b1 = e[LadderElement::noiseCells + 1];
  float& b2 = e[LadderElement::noiseCells + 2];
  Ladder<OneChannel> ladder(channel);
  for (std::int32_t i = 0; i < count; ++i) {
    const float noise = pinkNoise(-0.2f * amplitude, 0.2f * amplitude, b0, b1, b2);
    const float modulatedK = noise + k;
    ladder.step(buffer[i], (modulatedK + 1.0f) * 0.5f, modulatedK);
    buffer[i] = ladder.y4 * 1.5f;
  }
}
