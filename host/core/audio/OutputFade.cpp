#include "host/core/audio/OutputFade.h"

#include <algorithm>

#include "host/core/audio/ChannelStrip.h"

namespace Ombix::Kelvane {

void OutputFade::Start(int frames) {
  fadeFrames_ = std::max(frames, 1);
}

void OutputFade::Reset() {
  fadeFrames_ = 0;
  gain_ = 1.0f;
  silentBlocks_ = 0;
}

void OutputFade::Apply(ChannelStrip& strip, int frames) {
  const int fadeFrames = fadeFrames_;
  if (fadeFrames == 0) return;
  if (gain_ == 0.0f) {
    for (int i = 0; i < strip.GetInputCount(); ++i) {
      if (float* output = strip.GetInput(i)) std::fill(output, output + frames, 0.0f);
    }
    ++silentBlocks_;
    return;
  }
  const float step = 1.0f / static_cast<float>(fadeFrames);
  for (int i = 0; i < strip.GetInputCount(); ++i) {
    float* output = strip.GetInput(i);
    if (!output) continue;
    float gain = gain_;
    for (int frame = 0; frame < frames; ++frame) {
      gain = std::max(gain - step, 0.0f);
      output[frame] *= gain;
    }
  }
  gain_ -= step * static_cast<float>(frames);
  if (gain_ < step) gain_ = 0.0f;
}

}  // namespace Ombix::Kelvane
