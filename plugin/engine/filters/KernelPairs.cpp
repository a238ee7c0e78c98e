#include "plugin/engine/filters/FilterKernels.h"

namespace {

struct KernelPair {
  FilterKernel kernel;
  FilterPairKernel pairKernel;
};

constexpr KernelPair kernelPairs[] = {
    {biquadSerialKernel, biquadSerialPairKernel},         {biquadParallelKernel, biquadParallelPairKernel},
    {biquadAllpassMixKernel, biquadAllpassMixPairKernel}, {svfKernel, svfPairKernel},
    {saturatedSvfKernel, saturatedSvfPairKernel},         {ladderKernel, ladderPairKernel},
};

}  // namespace

void runFilterPair(FilterKernel kernel, float* left, float* right, std::int32_t count, FilterState* leftState,
                   FilterState* rightState) {
  for (const KernelPair& pair : kernelPairs) {
    if (pair.kernel == kernel) {
      pair.pairKernel(left, right, count, leftState, rightState);
      return;
    }
  }
  kernel(left, count, leftState);
  kernel(right, count, rightState);
}
