#include "host/core/audio/AudioWorker.h"

#include "host/core/audio/AudioEngine.h"
#include "host/core/audio/AudioPlugin.h"

namespace Ombix::Kelvane {

bool AudioWorker::ProcessJobs() {
  while (AudioPlugin* plugin = Pop()) {
    plugin->MergeQueuedMidi(plugin->MidiCount(), plugin->MidiEvents(), engine_->MidiCapacity());
    plugin->ProcessBlock(engine_->BlockSize());
  }
  return true;
}

}  // namespace Ombix::Kelvane
