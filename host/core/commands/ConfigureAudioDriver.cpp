#include "host/core/commands/ConfigureAudioDriver.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioEngine.h"

namespace Ombix::Kelvane::Commands {

ConfigureAudioDriver::ConfigureAudioDriver(double sampleRate, int bufferSize)
    : sampleRate_(sampleRate), bufferSize_(bufferSize) {}

void ConfigureAudioDriver::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> ConfigureAudioDriver\n");
  engine->GetAudioEngine()->ConfigureDriver(sampleRate_, bufferSize_);
}

}  // namespace Ombix::Kelvane::Commands
