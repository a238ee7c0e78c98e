#pragma once

#include "plugin/framework/VstTypes.h"

#include <cstddef>

// An editor's rectangle as the host reads it.
struct ERect {
  VstInt16 top;
  VstInt16 left;
  VstInt16 bottom;
  VstInt16 right;
};

static_assert(sizeof(ERect) == 8, "ERect layout");
static_assert(offsetof(ERect, left) == 2, "ERect layout");
static_assert(offsetof(ERect, bottom) == 4, "ERect layout");
static_assert(offsetof(ERect, right) == 6, "ERect layout");
