#pragma once

#include <atomic>

namespace Ombix::Kelvane {

class ChannelStrip;

// Fades the host's output to silence, so that the audio can stop without a click, and counts the
// silent blocks that have gone out since. Start is called on any thread; Apply runs on the audio
// thread and Reset on the GUI thread, both under the engine lock.
class OutputFade {
 public:
  // Fades over frames from the next block on; the output then stays silent until Reset.
  void Start(int frames);
  // Full level again, no fade.
  void Reset();
  // Scales the block the strip hands to the driver; a block that went out at zero gain is counted.
  void Apply(ChannelStrip& strip, int frames);
  // The blocks that went out wholly silent since the fade ended.
  int SilentBlocks() const { return silentBlocks_; }

 private:
  std::atomic<int> fadeFrames_{0};  // 0: no fade
  float gain_ = 1.0f;
  std::atomic<int> silentBlocks_{0};
};

}  // namespace Ombix::Kelvane
