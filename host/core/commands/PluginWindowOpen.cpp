#include "host/core/commands/PluginWindowOpen.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"

namespace Ombix::Kelvane::Commands {

PluginWindowOpen::PluginWindowOpen(void* parentWindow, int id) : parentWindow_(parentWindow), id_(id) {}

void PluginWindowOpen::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> PluginWindowOpen\n");
  engine->OpenPluginWindow(parentWindow_, id_);
}

}  // namespace Ombix::Kelvane::Commands
