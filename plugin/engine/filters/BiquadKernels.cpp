#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/KernelChannels.h"

namespace {

// One stage: y = b0 s + A1 y[-1] + b1 s[-1] + A2 y[-2] + b2 s[-2], kept as three history cells.
template <typename Channels>
class BiquadStage {
 public:
  using Value = typename Channels::Value;

  BiquadStage(Channels& channels, std::int32_t coefficients, std::int32_t history)
      : b0(channels.element(coefficients)),
        b1(channels.element(coefficients + 1)),
        b2(channels.element(coefficients + 2)),
        a1(channels.element(coefficients + 3)),
        a2(channels.element(coefficients + 4)),
        channels(channels),
        history(history),
        h0(channels.element(history)),
        h1(channels.element(history + 1)),
        h2(channels.element(history + 2)) {}
  ~BiquadStage() {
    channels.setElement(history, h0);
    channels.setElement(history + 1, h1);
    channels.setElement(history + 2, h2);
  }
  BiquadStage(const BiquadStage&) = delete;
  BiquadStage& operator=(const BiquadStage&) = delete;

  Value process(Value s) {
    const Value y = b0 * s + h0 + h2;
    h2 = h1;
    h0 = a1 * y + b1 * s;
    h1 = a2 * y + b2 * s;
    return y;
  }

 private:
  const Value b0, b1, b2, a1, a2;
  Channels& channels;
  const std::int32_t history;
  Value h0, h1, h2;
};

template <typename Channels, typename Combine>
void runBiquadPair(Channels channels, std::int32_t count, Combine combine) {
  using Value = typename Channels::Value;
  BiquadStage<Channels> a(channels, BiquadElement::setA, BiquadElement::historyA);
  BiquadStage<Channels> b(channels, BiquadElement::setB, BiquadElement::historyB);
  const Value gain = channels.element(FilterElement::gain);
  for (std::int32_t i = 0; i < count; ++i) {
    const Value x = channels.sample(i) + Value(1e-6f);
    channels.setSample(i, combine(a, b, x) * gain);
  }
}

template <typename Channels>
void runSerial(Channels channels, std::int32_t count) {
  runBiquadPair(channels, count, [](auto& a, auto& b, auto x) { return b.process(a.process(x)); });
}

template <typename Channels>
void runParallel(Channels channels, std::int32_t count) {
  runBiquadPair(channels, count, [](auto& a, auto& b, auto x) {
    const auto u = a.process(x);
    const auto v = b.process(x);
    return u + v;
  });
}

template <typename Channels>
void runAllpassMix(Channels channels, std::int32_t count) {
  runBiquadPair(channels, count, [](auto& a, auto& b, auto x) {
    const auto u = a.process(x);
    const auto v = b.process(u);
    return v - u + x;
  });
}

}  // namespace

void biquadSerialKernel(float* buffer, std::int32_t count, FilterState* state) {
  runSerial(OneChannel(buffer, state), count);
}

void biquadParallelKernel(float* buffer, std::int32_t count, FilterState* state) {
  runParallel(OneChannel(buffer, state), count);
}

void biquadAllpassMixKernel(float* buffer, std::int32_t count, FilterState* state) {
  runAllpassMix(OneChannel(buffer, state), count);
}

void biquadSerialPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                            FilterState* rightState) {
  runSerial(TwoChannels(left, right, leftState, rightState), count);
}

void biquadParallelPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                              FilterState* rightState) {
  runParallel(TwoChannels(left, right, leftState, rightState), count);
}

void biquadAllpassMixPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                                FilterState* rightState) {
  runAllpassMix(TwoChannels(left, right, leftState, rightState), count);
}
