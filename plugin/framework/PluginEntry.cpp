// The plug-in library's entry points. This file is compiled into every plug-in DLL itself (see
// cmake/VstPlugin.cmake), so that the linker keeps both and exports the entry under its two names.
#include "plugin/framework/PluginEntry.h"

#include "plugin/framework/AudioEffect.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/ModuleHandle.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
  if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  AudioEffect* const effect = createEffectInstance(audioMaster);
  return effect ? effect->getAeffect() : nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  hInstance = instance;
  return TRUE;
}
