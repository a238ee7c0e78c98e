#include "host/core/events/AudioSystemListChanged.h"

#include "common/logging/Logger.h"
#include "host/core/DriverInfo.h"
#include "host/core/Logic.h"

namespace Ombix::Kelvane::Events {

AudioSystemListChanged::AudioSystemListChanged(const std::vector<std::string>& names) : names_(names) {}

void AudioSystemListChanged::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("<= AudioSystemListChanged\n");
  logic->GetDriverInfoModel()->OnAudioSystemListChanged(names_);
}

}  // namespace Ombix::Kelvane::Events
