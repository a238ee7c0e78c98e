#include "plugin/engine/dsp/FloatToInt.h"
#include "plugin/engine/filters/FilterKernels.h"

void resampleKernel(float* buffer, std::int32_t count, FilterState* state) {
  float* const e = state->element;
  const std::int32_t period = truncateToInt32(e[ResampleElement::period]);
  const float inversePeriod = e[ResampleElement::inversePeriod];
  float held = e[ResampleElement::held];
  float sum = e[ResampleElement::sum];
  float counted = e[ResampleElement::count];
  for (std::int32_t i = 0; i < count; ++i) {
    counted += 1.0f;
    sum += buffer[i];
    if (truncateToInt32(counted) >= period) {
      held = sum * inversePeriod;
      sum = 0.0f;
      counted = 0.0f;
    }
    buffer[i] = held;
  }
  e[ResampleElement::held] = held;
  e[ResampleElement::sum] = sum;
  e[ResampleElement::count] = counted;
}
