// A plug-in that ends the whole process from its entry, as a fault no guard can catch would.

#include <windows.h>

#include "host/hosting/tests/plugins/TestEffect.h"

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback) {
  TerminateProcess(GetCurrentProcess(), 0xC0000005);
  return nullptr;
}
