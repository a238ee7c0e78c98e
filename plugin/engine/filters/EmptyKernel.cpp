#include "plugin/engine/filters/FilterKernels.h"

void emptyKernel(float*, std::int32_t, FilterState*) {}
