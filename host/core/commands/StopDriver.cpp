#include "host/core/commands/StopDriver.h"

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioEngine.h"
#include "host/drivers/IAudioDriver.h"

namespace Ombix::Kelvane::Commands {

void StopDriver::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> StopDriver\n");
  AudioEngine* audio = engine->GetAudioEngine();
  Common::System::Threading::ScopedLock hold(audio->Lock());
  if (IAudioDriver* driver = audio->Driver()) driver->Stop();
}

}  // namespace Ombix::Kelvane::Commands
