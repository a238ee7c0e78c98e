// A plug-in whose editor asks the host to resize its window as soon as it opens.

#include "host/hosting/tests/plugins/TestEffect.h"

namespace {
TestPlugins::AEffect effect;
Ombix::Kelvane::AudioMasterCallback hostCallback;

Ombix::Kelvane::VstIntPtr Dispatch(Ombix::Kelvane::AEffect* self, Ombix::Kelvane::VstInt32 opcode,
                                   Ombix::Kelvane::VstInt32, Ombix::Kelvane::VstIntPtr, void*, float) {
  using namespace Ombix::Kelvane;
  if (opcode == effEditOpen) {
    char sizeWindow[] = "sizeWindow";
    if (hostCallback(self, audioMasterCanDo, 0, 0, sizeWindow, 0.0f) != 0) {
      hostCallback(self, audioMasterSizeWindow, 600, 400, nullptr, 0.0f);
    }
    return 1;
  }
  return 0;
}
}  // namespace

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback host) {
  hostCallback = host;
  TestPlugins::InitEffect(effect, Dispatch);
  effect.flags |= Ombix::Kelvane::effFlagsHasEditor;
  return &effect;
}
