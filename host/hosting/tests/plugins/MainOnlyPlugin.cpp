// A plug-in that exports its entry only under the name "main".

#include "host/hosting/tests/plugins/TestEffect.h"

namespace {
TestPlugins::AEffect effect;

Ombix::Kelvane::VstIntPtr Dispatch(Ombix::Kelvane::AEffect*, Ombix::Kelvane::VstInt32 opcode,
                                   Ombix::Kelvane::VstInt32, Ombix::Kelvane::VstIntPtr, void* ptr, float) {
  if (opcode == Ombix::Kelvane::effGetProductString) std::strcpy(static_cast<char*>(ptr), "Main Only");
  return 0;
}
}  // namespace

extern "C" Ombix::Kelvane::AEffect* OnlyEntry(Ombix::Kelvane::AudioMasterCallback) {
  TestPlugins::InitEffect(effect, Dispatch);
  return &effect;
}
