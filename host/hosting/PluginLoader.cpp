#include "host/hosting/PluginLoader.h"

#include <windows.h>

#include <memory>

#include "common/logging/Logger.h"
#include "common/system/Library.h"
#include "host/hosting/LoadVstPlugin.h"
#include "host/hosting/PluginContainer.h"
#include "host/hosting/PluginFactory.h"
#include "host/hosting/PluginPath.h"

namespace Ombix::Kelvane {

void PluginLoader::Load(PluginContainer* container) {
  const std::string path = FullPluginPath(container->TakeLoadPath());
  if (!path.empty() && AcquireModule(container, path)) {
    Common::Logging::theLogger.Info("Loading plugin: %s\n", path.c_str());
    bool loaded = false;
    try {
      std::unique_ptr<VSTPluginImpl> processor = LoadVstPlugin(path);
      loaded = processor != nullptr;
      container->SetPlugin(std::move(processor));
    } catch (...) {
      Common::Logging::theLogger.Info("Attempt to load plugin failed!\n");
      loaded = false;
      container->CloseProcessor();
      container->SetPlugin(nullptr);
    }
    Common::Logging::theLogger.Info(loaded ? "Loading finished!\n" : "Loading failed!\n");
    factory_->LoadDone(module_);
    module_ = nullptr;
  }
  container->LoadFinished();
}

bool PluginLoader::AcquireModule(PluginContainer* container, const std::string& path) {
  const std::unique_ptr<Common::System::Library> library(Common::System::Library::Load(path));
  if (!library) {
    const std::string reason = LibraryLoadFailure(path, GetLastError());
    Common::Logging::theLogger.Error("Unable to load library: %s (%s)\n", path.c_str(), reason.c_str());
    container->SetPlugin(nullptr);
    return false;
  }
  module_ = library->GetHandle();
  const bool acquired = factory_->AcquireModule(module_);
  if (!acquired) {
    module_ = nullptr;
    container->RequestLoad();
    Sleep(0);
  }
  return acquired;
}

}  // namespace Ombix::Kelvane
