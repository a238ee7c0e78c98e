#include "host/core/events/PluginCreated.h"

#include "common/logging/Logger.h"
#include "host/core/Logic.h"

namespace Ombix::Kelvane::Events {

PluginCreated::PluginCreated(int id, const std::string& name) : id_(id), name_(name) {}

void PluginCreated::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("%s", ("<= PluginCreated [" + name_ + "]\n").c_str());
  logic->OnPluginCreated(id_, name_);
}

}  // namespace Ombix::Kelvane::Events
