#include "host/core/audio/AudioBufferStack.h"

namespace Ombix::Kelvane {

void AudioBufferStack::Resize(int channels, int frames) {
  std::vector<float>().swap(storage_);
  channels_ = 0;
  frames_ = 0;
  if (channels <= 0 || frames <= 0) return;
  storage_.assign(static_cast<std::size_t>(channels) * kSets * static_cast<std::size_t>(frames), 0.0f);
  channels_ = channels;
  frames_ = frames;
}

float* AudioBufferStack::Buffer(int channel, int set) {
  if (channel < 0 || channel >= channels_ || set < 0 || set >= kSets) return nullptr;
  return storage_.data() +
         static_cast<std::size_t>(channel * kSets + set) * static_cast<std::size_t>(frames_);
}

}  // namespace Ombix::Kelvane
