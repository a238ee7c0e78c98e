#pragma once

#include "host/core/audio/JobQueue.h"

namespace Ombix::Kelvane {

class AudioEngine;

// Runs the plug-ins of one block: each receives the block's MIDI and processes its buffers.
class AudioWorker : public JobQueue {
 public:
  explicit AudioWorker(AudioEngine* engine) : engine_(engine) {}

  // Called inside the block under the engine lock; processes every pending plug-in in order.
  bool ProcessJobs();

 private:
  AudioEngine* const engine_;
};

}  // namespace Ombix::Kelvane
