#pragma once

#include <vector>

#include "host/core/events/IEvent.h"
#include "host/hosting/PatchInfo.h"

namespace Ombix::Kelvane::Events {

// A hosted plug-in's program list changed.
class PluginPatchesChanged : public IEvent {
 public:
  PluginPatchesChanged(int id, const std::vector<PatchInfo>& patches);
  void Apply(Logic* logic) override;

 private:
  const int id_;
  const std::vector<PatchInfo> patches_;
};

}  // namespace Ombix::Kelvane::Events
