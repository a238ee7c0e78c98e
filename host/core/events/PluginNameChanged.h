#pragma once

#include <string>

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// A hosted plug-in told its name.
class PluginNameChanged : public IEvent {
 public:
  PluginNameChanged(int id, const std::string& name);
  void Apply(Logic* logic) override;

 private:
  const int id_;
  const std::string name_;
};

}  // namespace Ombix::Kelvane::Events
