// A plug-in whose entry lets a C++ exception escape.

#include <stdexcept>

#include "host/hosting/VstRecords.h"

extern "C" Ombix::Kelvane::AEffect* VSTPluginMain(Ombix::Kelvane::AudioMasterCallback) {
  throw std::runtime_error("the effect could not be built");
}
