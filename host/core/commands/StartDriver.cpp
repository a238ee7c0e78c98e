#include "host/core/commands/StartDriver.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioEngine.h"

namespace Ombix::Kelvane::Commands {

void StartDriver::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> StartDriver\n");
  engine->GetAudioEngine()->StartDriver();
}

}  // namespace Ombix::Kelvane::Commands
