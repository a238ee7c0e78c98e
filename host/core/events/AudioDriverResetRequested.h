#pragma once

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// The running audio device asked to be reset; the engine restarts it on the GUI thread.
class AudioDriverResetRequested : public IEvent {
 public:
  void Apply(Logic* logic) override;
};

}  // namespace Ombix::Kelvane::Events
