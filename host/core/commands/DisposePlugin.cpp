#include "host/core/commands/DisposePlugin.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"

namespace Ombix::Kelvane::Commands {

DisposePlugin::DisposePlugin(int id) : id_(id) {}

void DisposePlugin::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> DisposePlugin\n");
  engine->DisposePlugin(id_);
}

}  // namespace Ombix::Kelvane::Commands
