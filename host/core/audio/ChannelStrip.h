#pragma once

#include "host/core/audio/AudioBufferStack.h"
#include "host/core/audio/AudioLink.h"

namespace Ombix::Kelvane {

// The audio driver's node in the graph's ring: its outputs are the driver's input buffers (what the
// first plug-in reads), its inputs the driver's output buffers (what the last plug-in writes). It owns
// the buffer stack that the plug-ins between the two share.
class ChannelStrip : public AudioLink, public AudioBufferStack {
 public:
  explicit ChannelStrip(AudioEngine* engine);
  ~ChannelStrip() override;

  void OnBlockSize() override;
  // The number of driver inputs (the strip's outputs).
  void SetInputCount(int count) override;
  // The number of driver outputs (the strip's inputs).
  void SetOutputCount(int count) override;
  // Driver input buffer i (null: silence) becomes the strip's output i.
  void SetInput(int index, float* buffer) override;
  // Driver output buffer i (null: scratch) becomes the strip's input i.
  void SetOutput(int index, float* buffer) override;
  void PropagateOutputs() override {}
  void PropagateInputs() override {}

  // Channels of the stack: those the driver's buffers are assigned to.
  int StackChannels() const { return stackChannels_; }

 private:
  // Sizes the stack for the larger side (at least one channel) and lets every node re-choose its
  // buffers, so that none keeps a freed one.
  void UpdateStack();
  void ResizeStack();

  int stackChannels_ = 0;
};

}  // namespace Ombix::Kelvane
