#include "host/core/events/PluginNameChanged.h"

#include "common/logging/Logger.h"
#include "host/core/Logic.h"
#include "host/core/Plugin.h"

namespace Ombix::Kelvane::Events {

PluginNameChanged::PluginNameChanged(int id, const std::string& name) : id_(id), name_(name) {}

void PluginNameChanged::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("%s", ("<= PluginNameChanged [" + name_ + "]\n").c_str());
  if (Plugin* record = logic->FindRecord(id_)) record->SetName(name_);
}

}  // namespace Ombix::Kelvane::Events
