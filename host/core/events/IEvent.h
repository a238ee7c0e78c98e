#pragma once

namespace Ombix::Kelvane {
class Logic;
}

namespace Ombix::Kelvane::Events {

// One piece of news from the host's machinery, created on any thread and applied to the Logic on
// the GUI thread. It carries copies of everything it needs.
class IEvent {
 public:
  virtual ~IEvent() = default;
  virtual void Apply(Logic* logic) = 0;
};

}  // namespace Ombix::Kelvane::Events
