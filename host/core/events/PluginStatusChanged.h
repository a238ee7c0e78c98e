#pragma once

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// A hosted plug-in's state bits changed.
class PluginStatusChanged : public IEvent {
 public:
  PluginStatusChanged(int id, int status);
  void Apply(Logic* logic) override;

 private:
  const int id_;
  const int status_;
};

}  // namespace Ombix::Kelvane::Events
