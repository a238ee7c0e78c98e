// A plug-in that loads fine and faults (access violation) when the host opens it.

#include "host/hosting/tests/plugins/TestEffect.h"

namespace {
TestPlugins::AEffect effect;
int closeCalls = 0;

Ombix::Kelvane::VstIntPtr Dispatch(Ombix::Kelvane::AEffect*, Ombix::Kelvane::VstInt32 opcode,
                                   Ombix::Kelvane::VstInt32, Ombix::Kelvane::VstIntPtr, void*, float) {
  if (opcode == Ombix::Kelvane::effOpen) TestPlugins::Fault();
  if (opcode == Ombix::Kelvane::effClose) ++closeCalls;
  return 0;
}
}  // namespace

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback) {
  TestPlugins::InitEffect(effect, Dispatch);
  return &effect;
}

// How often the host sent the close opcode to this (crashed) plug-in.
extern "C" __declspec(dllexport) int CloseCalls() {
  return closeCalls;
}
