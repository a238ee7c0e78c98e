#include "host/core/events/PluginMidiKey.h"

#include "host/core/Logic.h"
#include "host/core/Plugin.h"

namespace Ombix::Kelvane::Events {

PluginMidiKey::PluginMidiKey(int id, unsigned char note, bool on) : id_(id), note_(note), on_(on) {}

void PluginMidiKey::Apply(Logic* logic) {
  if (Plugin* record = logic->FindRecord(id_)) record->MidiKey(record, note_, on_);
}

}  // namespace Ombix::Kelvane::Events
