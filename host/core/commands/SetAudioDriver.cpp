#include "host/core/commands/SetAudioDriver.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioEngine.h"

namespace Ombix::Kelvane::Commands {

SetAudioDriver::SetAudioDriver(int index) : index_(index) {}

void SetAudioDriver::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> SetAudioDriver\n");
  engine->GetAudioEngine()->SetAudioDriver(index_);
}

}  // namespace Ombix::Kelvane::Commands
