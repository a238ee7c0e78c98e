// A plug-in that does nothing: an instrument with two outputs it never writes, every opcode ignored.

#include "host/hosting/tests/plugins/TestEffect.h"

namespace {
TestPlugins::AEffect effect;
}  // namespace

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback) {
  TestPlugins::InitEffect(effect);
  effect.flags |= Ombix::Kelvane::effFlagsIsSynth;
  return &effect;
}
