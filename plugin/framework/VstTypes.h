#pragma once

#include <cstdint>

// The integer types of the VST 2.4 binary interface. VstIntPtr is as wide as a pointer.
using VstInt16 = std::int16_t;
using VstInt32 = std::int32_t;
using VstInt64 = std::int64_t;
using VstIntPtr = std::intptr_t;

static_assert(sizeof(VstIntPtr) == sizeof(void*), "VstIntPtr must hold a pointer");
