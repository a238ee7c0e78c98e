#include "host/core/events/PluginUpdateDisplay.h"

#include "host/core/Logic.h"
#include "host/core/Plugin.h"

namespace Ombix::Kelvane::Events {

PluginUpdateDisplay::PluginUpdateDisplay(int id) : id_(id) {}

void PluginUpdateDisplay::Apply(Logic* logic) {
  if (Plugin* record = logic->FindRecord(id_)) record->UpdateDisplay(record);
}

}  // namespace Ombix::Kelvane::Events
