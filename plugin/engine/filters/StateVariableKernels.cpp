#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/KernelChannels.h"

namespace {

// Chamberlin state-variable filter; integrate gives the new low-pass value from low + f * band, and the mix
// of the three outputs is scaled by outputScale. The gain scales the input.
template <typename Channels, typename Integrate>
void runStateVariable(Channels channels, std::int32_t count, float outputScale, Integrate integrate) {
  using Value = typename Channels::Value;
  const Value f = channels.element(SvfElement::frequency);
  const Value q = channels.element(SvfElement::damping);
  const Value mixLow = channels.element(SvfElement::mixLow);
  const Value mixBand = channels.element(SvfElement::mixBand);
  const Value mixHigh = channels.element(SvfElement::mixHigh);
  const Value gain = channels.element(FilterElement::gain);
  const Value scale(outputScale);
  Value low = channels.element(SvfElement::low);
  Value band = channels.element(SvfElement::band);
  Value high = channels.element(SvfElement::high);
  for (std::int32_t i = 0; i < count; ++i) {
    const Value x = channels.sample(i) + Value(1e-6f);
    const Value newLow = integrate(low + f * band, f);
    high = x * gain - newLow - q * band;
    const Value newBand = band + f * high;
    channels.setSample(i, (newLow * mixLow + newBand * mixBand + high * mixHigh) * scale);
    low = newLow;
    band = newBand;
  }
  channels.setElement(SvfElement::low, low);
  channels.setElement(SvfElement::band, band);
  channels.setElement(SvfElement::high, high);
}

template <typename Channels>
void runPlain(Channels channels, std::int32_t count) {
  runStateVariable(channels, count, 1.0f, [](auto low, auto) { return low; });
}

template <typename Channels>
void runSaturated(Channels channels, std::int32_t count) {
  using Value = typename Channels::Value;
  runStateVariable(channels, count, 0.25f,
                   [](Value low, Value f) { return softSaturate(low, Value(2.0f) * f); });
}

}  // namespace

void svfKernel(float* buffer, std::int32_t count, FilterState* state) {
  runPlain(OneChannel(buffer, state), count);
}

void saturatedSvfKernel(float* buffer, std::int32_t count, FilterState* state) {
  runSaturated(OneChannel(buffer, state), count);
}

void svfPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                   FilterState* rightState) {
  runPlain(TwoChannels(left, right, leftState, rightState), count);
}

void saturatedSvfPairKernel(float* left, float* right, std::int32_t count, FilterState* leftState,
                            FilterState* rightState) {
  runSaturated(TwoChannels(left, right, leftState, rightState), count);
}
