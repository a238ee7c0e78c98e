#include "host/core/events/AudioDriverListChanged.h"

#include "common/logging/Logger.h"
#include "host/core/DriverInfo.h"
#include "host/core/Logic.h"

namespace Ombix::Kelvane::Events {

AudioDriverListChanged::AudioDriverListChanged(const std::vector<std::string>& names, int systemIndex)
    : names_(names), systemIndex_(systemIndex) {}

void AudioDriverListChanged::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("<= AudioDriverListChanged\n");
  logic->GetDriverInfoModel()->OnAudioDriverListChanged(systemIndex_, names_);
}

}  // namespace Ombix::Kelvane::Events
