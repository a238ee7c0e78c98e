#include "plugin/engine/filters/FilterKernels.h"

namespace {

// One stage: y = b0 s + A1 y[-1] + b1 s[-1] + A2 y[-2] + b2 s[-2], kept as three history cells.
class BiquadStage {
 public:
  BiquadStage(const float* coefficients, float* history)
      : b0(coefficients[0]),
        b1(coefficients[1]),
        b2(coefficients[2]),
        a1(coefficients[3]),
        a2(coefficients[4]),
        history(history),
        h0(history[0]),
        h1(history[1]),
        h2(history[2]) {}
  ~BiquadStage() {
    history[0] = h0;
    history[1] = h1;
    history[2] = h2;
  }
  BiquadStage(const BiquadStage&) = delete;
  BiquadStage& operator=(const BiquadStage&) = delete;

  float process(float s) {
    const float y = b0 * s + h0 + h2;
    h2 = h1;
    h0 = a1 * y + b1 * s;
    h1 = a2 * y + b2 * s;
    return y;
  }

 private:
  const float b0, b1, b2, a1, a2;
  float* const history;
  float h0, h1, h2;
};

template <typename Combine>
void runBiquadPair(float* buffer, std::int32_t count, FilterState* state, Combine combine) {
  float* const e = state->element;
  BiquadStage a(e + BiquadElement::setA, e + BiquadElement::historyA);
  BiquadStage b(e + BiquadElement::setB, e + BiquadElement::historyB);
  const float gain = e[FilterElement::gain];
  for (std::int32_t i = 0; i < count; ++i) {
    const float x = buffer[i] + 1e-6f;
    buffer[i] = combine(a, b, x) * gain;
  }
}

}  // namespace

void biquadSerialKernel(float* buffer, std::int32_t count, FilterState* state) {
  runBiquadPair(buffer, count, state,
                [](BiquadStage& a, BiquadStage& b, float x) { return b.process(a.process(x)); });
}

void biquadParallelKernel(float* buffer, std::int32_t count, FilterState* state) {
  runBiquadPair(buffer, count, state, [](BiquadStage& a, BiquadStage& b, float x) {
    const float u = a.process(x);
    const float v = b.process(x);
    return u + v;
  });
}

void biquadAllpassMixKernel(float* buffer, std::int32_t count, FilterState* state) {
  runBiquadPair(buffer, count, state, [](BiquadStage& a, BiquadStage& b, float x) {
    const float u = a.process(x);
    const float v = b.process(u);
    return v - u + x;
  });
}
