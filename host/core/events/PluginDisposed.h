#pragma once

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// A hosted plug-in was removed.
class PluginDisposed : public IEvent {
 public:
  explicit PluginDisposed(int id);
  void Apply(Logic* logic) override;

 private:
  const int id_;
};

}  // namespace Ombix::Kelvane::Events
