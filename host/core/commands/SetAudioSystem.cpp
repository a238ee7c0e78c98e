#include "host/core/commands/SetAudioSystem.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioEngine.h"

namespace Ombix::Kelvane::Commands {

SetAudioSystem::SetAudioSystem(int index) : index_(index) {}

void SetAudioSystem::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> SetAudioSystem\n");
  engine->GetAudioEngine()->SetAudioSystem(index_);
}

}  // namespace Ombix::Kelvane::Commands
