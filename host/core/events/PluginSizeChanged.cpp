#include "host/core/events/PluginSizeChanged.h"

#include "common/logging/Logger.h"
#include "host/core/Logic.h"
#include "host/core/Plugin.h"

namespace Ombix::Kelvane::Events {

PluginSizeChanged::PluginSizeChanged(int id, int width, int height)
    : id_(id), width_(width), height_(height) {}

void PluginSizeChanged::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("<= PluginSizeChanged\n");
  if (Plugin* record = logic->FindRecord(id_)) record->SetSize(width_, height_);
}

}  // namespace Ombix::Kelvane::Events
