#pragma once

#include <string>

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// A container was made for a plug-in file.
class PluginCreated : public IEvent {
 public:
  PluginCreated(int id, const std::string& name);
  void Apply(Logic* logic) override;

 private:
  const int id_;
  const std::string name_;
};

}  // namespace Ombix::Kelvane::Events
