#include "host/core/commands/ShowAudioConfigPanel.h"

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioEngine.h"
#include "host/drivers/IAudioDriver.h"

namespace Ombix::Kelvane::Commands {

void ShowAudioConfigPanel::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> ShowAudioConfigPanel\n");
  AudioEngine* audio = engine->GetAudioEngine();
  Common::System::Threading::ScopedLock hold(audio->Lock());
  if (IAudioDriver* driver = audio->Driver()) {
    driver->Stop();
    driver->ShowControlPanel();
  }
}

}  // namespace Ombix::Kelvane::Commands
