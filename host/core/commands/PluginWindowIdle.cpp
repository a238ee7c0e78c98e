#include "host/core/commands/PluginWindowIdle.h"

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioPlugin.h"

namespace Ombix::Kelvane::Commands {

PluginWindowIdle::PluginWindowIdle(int id) : id_(id) {}

void PluginWindowIdle::Execute(Engine* engine) {
  Common::System::Threading::ScopedLock hold(engine->ContainerLock());
  if (AudioPlugin* plugin = engine->FindPlugin(id_)) plugin->EditorIdle();
}

}  // namespace Ombix::Kelvane::Commands
