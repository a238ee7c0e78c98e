#pragma once

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// A note went on or off in a hosted plug-in whose editor is open.
class PluginMidiKey : public IEvent {
 public:
  PluginMidiKey(int id, unsigned char note, bool on);
  void Apply(Logic* logic) override;

 private:
  const int id_;
  const unsigned char note_;
  const bool on_;
};

}  // namespace Ombix::Kelvane::Events
