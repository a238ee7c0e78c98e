#include "host/core/events/PluginDisposed.h"

#include "common/logging/Logger.h"
#include "host/core/Logic.h"

namespace Ombix::Kelvane::Events {

PluginDisposed::PluginDisposed(int id) : id_(id) {}

void PluginDisposed::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("<= PluginDisposed\n");
  logic->RemoveRecord(id_);
}

}  // namespace Ombix::Kelvane::Events
