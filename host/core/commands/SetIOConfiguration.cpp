#include "host/core/commands/SetIOConfiguration.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioEngine.h"

namespace Ombix::Kelvane::Commands {

SetIOConfiguration::SetIOConfiguration(bool input, const std::string& name, const std::vector<int>& channels)
    : input_(input), name_(name), channels_(channels) {}

void SetIOConfiguration::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> SetIOConfiguration\n");
  engine->GetAudioEngine()->AddIOConfig(input_, name_, channels_);
}

}  // namespace Ombix::Kelvane::Commands
