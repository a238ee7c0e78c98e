#pragma once

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// A hosted plug-in's editor has a new size.
class PluginSizeChanged : public IEvent {
 public:
  PluginSizeChanged(int id, int width, int height);
  void Apply(Logic* logic) override;

 private:
  const int id_;
  const int width_;
  const int height_;
};

}  // namespace Ombix::Kelvane::Events
