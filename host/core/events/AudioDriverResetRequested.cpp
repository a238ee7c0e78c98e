#include "host/core/events/AudioDriverResetRequested.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/Logic.h"
#include "host/core/audio/AudioEngine.h"

namespace Ombix::Kelvane::Events {

void AudioDriverResetRequested::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("<= AudioDriverResetRequested\n");
  logic->GetEngine()->GetAudioEngine()->ResetDriver();
}

}  // namespace Ombix::Kelvane::Events
