#include "host/hosting/VstHostCallback.h"

#include <cstdio>

#include "host/hosting/DirectoryRegistry.h"
#include "host/hosting/EffectRegistry.h"
#include "host/hosting/HostTexts.h"
#include "host/hosting/ProcessLevelRegistry.h"
#include "host/hosting/TimeInfo.h"
#include "host/hosting/VSTPlugin.h"

namespace Ombix::Kelvane {

namespace {

constexpr VstIntPtr kVstVersion = 2400;
constexpr VstIntPtr kEnglish = 1;
constexpr std::size_t kHostTextSize = 64;  // the plug-in's buffer for the host's vendor and product

VstIntPtr CopyHostText(void* buffer, const char* text) {
  if (!buffer) return 0;
  std::snprintf(static_cast<char*>(buffer), kHostTextSize, "%s", text);
  return 1;
}

VstIntPtr CommonAnswer(VstInt32 opcode, void* ptr) {
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterIOChanged:
      return 1;
    case audioMasterGetVendorString:
      return CopyHostText(ptr, hostTexts.vendor);
    case audioMasterGetProductString:
      return CopyHostText(ptr, hostTexts.product);
    case audioMasterGetVendorVersion:
      return hostTexts.vendorVersion;
    case audioMasterCanDo:
      return 1;
    case audioMasterGetLanguage:
      return kEnglish;
    case audioMasterGetDirectory:
      return reinterpret_cast<VstIntPtr>(directoryRegistry.CurrentFolder());
    case audioMasterUpdateDisplay:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

VstIntPtr VstHostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                          float opt) {
  switch (opcode) {
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(&vstTimeInfo);
    case audioMasterTempoAt:
      return static_cast<VstIntPtr>(vstTimeInfo.tempo * 10000.0);
    case audioMasterGetCurrentProcessLevel:
      return processLevelRegistry.CurrentLevel();
    default:
      break;
  }
  if (effect) {
    if (VSTPlugin* plugin = EffectRegistry::Find(effect)) {
      if (const VstIntPtr answer = plugin->HostCallback(effect, opcode, index, value, ptr, opt))
        return answer;
    }
  }
  return CommonAnswer(opcode, ptr);
}

}  // namespace Ombix::Kelvane
