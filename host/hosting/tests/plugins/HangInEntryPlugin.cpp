// A plug-in whose entry never returns.

#include <windows.h>

#include "host/hosting/tests/plugins/TestEffect.h"

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback) {
  for (;;) Sleep(INFINITE);
}
