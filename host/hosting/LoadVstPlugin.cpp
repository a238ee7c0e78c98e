#include "host/hosting/LoadVstPlugin.h"

#include "common/logging/Logger.h"
#include "host/hosting/CrashGuard.h"
#include "host/hosting/DirectoryRegistry.h"
#include "host/hosting/PluginCrashed.h"
#include "host/hosting/PluginPath.h"
#include "host/hosting/VstHostCallback.h"

namespace Ombix::Kelvane {

namespace {

using Common::Logging::theLogger;
using Common::System::Library;

enum class Check { Usable, NoRecord, WrongMagic, NoReplacing, TooManyChannels };

// Calls the entry and checks the record, all inside the crash guard (a bad record may fault too).
Check CallEntry(VstPluginEntry entry, AEffect*& effect, VstInt32& magic) {
  effect = entry(VstHostCallback);
  if (!effect) return Check::NoRecord;
  magic = effect->magic;
  if (magic != kEffectMagic) return Check::WrongMagic;
  if (!effect->processReplacing || !(effect->flags & effFlagsCanReplacing)) return Check::NoReplacing;
  // The host's channel arrays hold no more; the plug-in would write its own count.
  if (effect->numInputs > VSTPluginImpl::kMaxChannels || effect->numOutputs > VSTPluginImpl::kMaxChannels)
    return Check::TooManyChannels;
  effect->dispatcher(effect, effGetVstVersion, 0, 0, nullptr, 0.0f);
  return Check::Usable;
}

// Closes a plug-in that answered its entry but is not taken.
void CloseRefused(AEffect* effect) {
  CrashGuard::Run([effect] { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); });
}

}  // namespace

std::unique_ptr<VSTPluginImpl> LoadVstPlugin(const std::string& typedPath) {
  const std::string path = FullPluginPath(typedPath);
  std::unique_ptr<Library> library(Library::Load(path));
  const unsigned long loadError = library ? 0 : GetLastError();
  const std::size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos || slash == 0) {
    theLogger.Error("Plugin path %s names no folder\n", path.c_str());
    return nullptr;
  }
  // One text for the plug-in's whole life: the entry may keep the pointer it is given.
  auto folder = std::make_unique<const std::string>(path.substr(0, slash + 1));
  const DirectoryRegistration registration(folder->c_str());

  if (!library) {
    theLogger.Error("Unable to load library\n");
    theLogger.Error("%s: %s\n", path.c_str(), LibraryLoadFailure(path, loadError).c_str());
    return nullptr;
  }
  auto entry = reinterpret_cast<VstPluginEntry>(library->GetProc("VSTPluginMain"));
  if (!entry) entry = reinterpret_cast<VstPluginEntry>(library->GetProc("main"));
  if (!entry) {
    theLogger.Error("%s exports neither VSTPluginMain nor main\n", path.c_str());
    theLogger.Error("Unable to retrieve main proc\n");
    return nullptr;
  }

  AEffect* effect = nullptr;
  VstInt32 magic = 0;
  Check check = Check::NoRecord;
  const unsigned long fault = CrashGuard::Run([&] { check = CallEntry(entry, effect, magic); });
  if (fault != 0) {
    theLogger.Critical("Plugin crashed on load\n");
    throw PluginCrashed(fault);
  }
  switch (check) {
    case Check::NoRecord:
      theLogger.Error("The plugin's entry answered no effect record\n");
      theLogger.Error("No magic!\n");
      return nullptr;
    case Check::WrongMagic:
      theLogger.Error("The plugin's effect record has the magic 0x%08X, not 0x%08X\n",
                      static_cast<unsigned>(magic), static_cast<unsigned>(kEffectMagic));
      theLogger.Error("No magic!\n");
      return nullptr;
    case Check::NoReplacing:
      theLogger.Error("Plugin does not support processReplacing\n");
      CloseRefused(effect);
      return nullptr;
    case Check::TooManyChannels:
      theLogger.Error("Plugin has more than %d inputs or outputs\n", VSTPluginImpl::kMaxChannels);
      CloseRefused(effect);
      return nullptr;
    case Check::Usable:
      break;
  }
  auto plugin = std::make_unique<VSTPluginImpl>(std::move(folder), std::move(library), effect);
  effect->resvd1 = reinterpret_cast<VstIntPtr>(plugin.get());
  return plugin;
}

}  // namespace Ombix::Kelvane
