#pragma once

#include <string>
#include <vector>

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// The devices of the selected audio system.
class AudioDriverListChanged : public IEvent {
 public:
  AudioDriverListChanged(const std::vector<std::string>& names, int systemIndex);
  void Apply(Logic* logic) override;

 private:
  const std::vector<std::string> names_;
  const int systemIndex_;
};

}  // namespace Ombix::Kelvane::Events
