#include "host/core/events/ScanningPlugin.h"

#include "host/core/Logic.h"

namespace Ombix::Kelvane::Events {

ScanningPlugin::ScanningPlugin(const std::string& path) : path_(path) {}

void ScanningPlugin::Apply(Logic* logic) {
  logic->Scanning(path_);
}

}  // namespace Ombix::Kelvane::Events
