#pragma once

// A bare VST 2.4 effect record for the small test plug-ins, built on the host's own declarations.

#include <cstring>

#include "host/hosting/VstRecords.h"

namespace TestPlugins {

using namespace Ombix::Kelvane;

inline VstIntPtr IgnoreOpcode(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) {
  return 0;
}
inline void SilentProcess(AEffect*, float**, float**, VstInt32) {}
inline void IgnoreParameter(AEffect*, VstInt32, float) {}
inline float ZeroParameter(AEffect*, VstInt32) {
  return 0.0f;
}

// A zeroed record with the magic, no inputs, two outputs, replacing processing and the given dispatcher.
inline void InitEffect(AEffect& effect, AEffectDispatcherProc dispatcher = IgnoreOpcode) {
  std::memset(&effect, 0, sizeof effect);
  effect.magic = kEffectMagic;
  effect.dispatcher = dispatcher;
  effect.process = SilentProcess;
  effect.setParameter = IgnoreParameter;
  effect.getParameter = ZeroParameter;
  effect.numOutputs = 2;
  effect.flags = effFlagsCanReplacing;
  effect.ioRatio = 1.0f;
  effect.processReplacing = SilentProcess;
}

// Reads or writes through a null pointer: an access violation the host must survive.
inline void Fault() {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
}

}  // namespace TestPlugins
