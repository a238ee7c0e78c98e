// A plug-in that faults (access violation) while its entry builds the effect.

#include "host/hosting/tests/plugins/TestEffect.h"

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback host) {
  host(nullptr, Ombix::Kelvane::audioMasterVersion, 0, 0, nullptr, 0.0f);
  TestPlugins::Fault();
  return nullptr;
}
