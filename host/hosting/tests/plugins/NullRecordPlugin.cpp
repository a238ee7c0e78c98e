// A plug-in whose entry answers no record.

#include "host/hosting/VstRecords.h"

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback) {
  return nullptr;
}
