#pragma once

#include <string>
#include <vector>

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// The audio systems the host offers.
class AudioSystemListChanged : public IEvent {
 public:
  explicit AudioSystemListChanged(const std::vector<std::string>& names);
  void Apply(Logic* logic) override;

 private:
  const std::vector<std::string> names_;
};

}  // namespace Ombix::Kelvane::Events
