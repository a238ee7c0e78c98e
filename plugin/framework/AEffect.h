#pragma once

#include "plugin/framework/VstTypes.h"

#include <cstddef>

// The interface record through which a VST 2.4 host talks to an effect. Its layout crosses the
// library boundary and is fixed (64-bit build: 192 bytes).
struct AEffect;

// The host's callback, handed to the plug-in's entry and kept by the effect.
using audioMasterCallback = VstIntPtr (*)(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt);

using AEffectDispatcherProc = VstIntPtr (*)(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                            void* ptr, float opt);
using AEffectProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs,
                                          VstInt32 sampleFrames);
using AEffectSetParameterProc = void (*)(AEffect* effect, VstInt32 index, float parameter);
using AEffectGetParameterProc = float (*)(AEffect* effect, VstInt32 index);

// 'VstP', the first character in the most significant byte.
constexpr VstInt32 kEffectMagic = 0x56737450;

struct AEffect {
  VstInt32 magic;
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;  // accumulating processing (deprecated)
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 numInputs;
  VstInt32 numOutputs;
  VstInt32 flags;    // VstAEffectFlags
  VstIntPtr resvd1;  // reserved for the host
  VstIntPtr resvd2;
  VstInt32 initialDelay;
  VstInt32 realQualities;  // deprecated
  VstInt32 offQualities;   // deprecated
  float ioRatio;           // deprecated
  void* object;            // the effect object that owns this record
  void* user;
  VstInt32 uniqueID;
  VstInt32 version;
  AEffectProcessProc processReplacing;
  AEffectProcessDoubleProc processDoubleReplacing;
  char future[56];
};

static_assert(sizeof(AEffect) == 192, "AEffect layout");
static_assert(offsetof(AEffect, magic) == 0, "AEffect layout");
static_assert(offsetof(AEffect, dispatcher) == 8, "AEffect layout");
static_assert(offsetof(AEffect, process) == 16, "AEffect layout");
static_assert(offsetof(AEffect, setParameter) == 24, "AEffect layout");
static_assert(offsetof(AEffect, getParameter) == 32, "AEffect layout");
static_assert(offsetof(AEffect, numPrograms) == 40, "AEffect layout");
static_assert(offsetof(AEffect, numParams) == 44, "AEffect layout");
static_assert(offsetof(AEffect, numInputs) == 48, "AEffect layout");
static_assert(offsetof(AEffect, numOutputs) == 52, "AEffect layout");
static_assert(offsetof(AEffect, flags) == 56, "AEffect layout");
static_assert(offsetof(AEffect, resvd1) == 64, "AEffect layout");
static_assert(offsetof(AEffect, resvd2) == 72, "AEffect layout");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect layout");
static_assert(offsetof(AEffect, realQualities) == 84, "AEffect layout");
static_assert(offsetof(AEffect, offQualities) == 88, "AEffect layout");
static_assert(offsetof(AEffect, ioRatio) == 92, "AEffect layout");
static_assert(offsetof(AEffect, object) == 96, "AEffect layout");
static_assert(offsetof(AEffect, user) == 104, "AEffect layout");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect layout");
static_assert(offsetof(AEffect, version) == 116, "AEffect layout");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect layout");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect layout");
static_assert(offsetof(AEffect, future) == 136, "AEffect layout");
