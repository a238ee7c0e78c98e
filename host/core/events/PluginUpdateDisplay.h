#pragma once

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// A hosted plug-in asked for its display to be refreshed.
class PluginUpdateDisplay : public IEvent {
 public:
  explicit PluginUpdateDisplay(int id);
  void Apply(Logic* logic) override;

 private:
  const int id_;
};

}  // namespace Ombix::Kelvane::Events
