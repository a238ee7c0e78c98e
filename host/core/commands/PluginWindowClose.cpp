#include "host/core/commands/PluginWindowClose.h"

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioPlugin.h"

namespace Ombix::Kelvane::Commands {

PluginWindowClose::PluginWindowClose(int id) : id_(id) {}

void PluginWindowClose::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> PluginWindowClose\n");
  Common::System::Threading::ScopedLock hold(engine->ContainerLock());
  if (AudioPlugin* plugin = engine->FindPlugin(id_)) plugin->CloseEditor();
}

}  // namespace Ombix::Kelvane::Commands
