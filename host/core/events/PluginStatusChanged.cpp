#include "host/core/events/PluginStatusChanged.h"

#include "common/logging/Logger.h"
#include "host/core/Logic.h"
#include "host/core/Plugin.h"

namespace Ombix::Kelvane::Events {

PluginStatusChanged::PluginStatusChanged(int id, int status) : id_(id), status_(status) {}

void PluginStatusChanged::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("<= PluginStatusChanged\n");
  if (Plugin* record = logic->FindRecord(id_)) record->SetStatus(status_);
}

}  // namespace Ombix::Kelvane::Events
