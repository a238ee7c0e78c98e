#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/filters/FilterKernels.h"

namespace {

// Chamberlin state-variable filter; integrate gives the new low-pass value from low + f * band, and the mix
// of the three outputs is scaled by outputScale. The gain scales the input.
template <typename Integrate>
void runStateVariable(float* buffer, std::int32_t count, FilterState* state, float outputScale,
                      Integrate integrate) {
  float* const e = state->element;
  const float f = e[SvfElement::frequency];
  const float q = e[SvfElement::damping];
  const float mixLow = e[SvfElement::mixLow];
  const float mixBand = e[SvfElement::mixBand];
  const float mixHigh = e[SvfElement::mixHigh];
  const float gain = e[FilterElement::gain];
  float low = e[SvfElement::low];
  float band = e[SvfElement::band];
  float high = e[SvfElement::high];
  for (std::int32_t i = 0; i < count; ++i) {
    const float x = buffer[i] + 1e-6f;
    const float newLow = integrate(low + f * band, f);
    high = x * gain - newLow - q * band;
    const float newBand = band + f * high;
    buffer[i] = (newLow * mixLow + newBand * mixBand + high * mixHigh) * outputScale;
    low = newLow;
    band = newBand;
  }
  e[SvfElement::low] = low;
  e[SvfElement::band] = band;
  e[SvfElement::high] = high;
}

}  // namespace

void svfKernel(float* buffer, std::int32_t count, FilterState* state) {
  runStateVariable(buffer, count, state, 1.0f, [](float low, float) { return low; });
}

void saturatedSvfKernel(float* buffer, std::int32_t count, FilterState* state) {
  runStateVariable(buffer, count, state, 0.25f,
                   [](float low, float f) { return softSaturate(low, 2.0f * f); });
}
