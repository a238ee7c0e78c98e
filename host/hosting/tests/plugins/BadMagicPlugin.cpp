// A plug-in whose record does not start with the magic.

#include "host/hosting/tests/plugins/TestEffect.h"

namespace {
TestPlugins::AEffect effect;
}

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback) {
  TestPlugins::InitEffect(effect);
  effect.magic = 0x50747356;  // the right characters in the wrong order
  return &effect;
}
