#pragma once

#include <string>

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// The plug-in scanner is probing a file.
class ScanningPlugin : public IEvent {
 public:
  explicit ScanningPlugin(const std::string& path);
  void Apply(Logic* logic) override;

 private:
  const std::string path_;
};

}  // namespace Ombix::Kelvane::Events
