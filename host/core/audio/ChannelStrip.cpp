#include "host/core/audio/ChannelStrip.h"

#include <algorithm>

#include "common/system/threading/ScopedLock.h"
#include "host/core/audio/AudioEngine.h"
#include "host/core/audio/SharedBuffers.h"

namespace Ombix::Kelvane {

using Common::System::Threading::ScopedLock;

ChannelStrip::ChannelStrip(AudioEngine* engine) : AudioLink(engine, this) {
  inputState_ = kStrip;
  outputState_ = kStrip;
  stackChannels_ = 2;
  if (engine_->BlockSize() > 0) Resize(stackChannels_, engine_->BlockSize());
}

ChannelStrip::~ChannelStrip() {
  Disconnect();
}

void ChannelStrip::OnBlockSize() {
  ResizeStack();
}

void ChannelStrip::SetInputCount(int count) {
  ScopedLock hold(engine_->Lock());
  AudioLink::SetOutputCount(count);
  UpdateStack();
}

void ChannelStrip::SetOutputCount(int count) {
  ScopedLock hold(engine_->Lock());
  AudioLink::SetInputCount(count);
  // Until the driver's outputs are assigned, whatever the last plug-in writes goes to scratch (never
  // into the silence buffer that every unlinked input reads).
  for (int i = 0; i < GetInputCount(); ++i) AudioLink::SetInput(i, ScratchBuffer(i));
  UpdateStack();
}

void ChannelStrip::SetInput(int index, float* buffer) {
  if (index < 0 || index >= GetOutputCount()) return;
  outputs_[index] = buffer ? buffer : SilenceBuffer();
  successor_->PropagateInputs();
}

void ChannelStrip::SetOutput(int index, float* buffer) {
  if (index < 0 || index >= GetInputCount()) return;
  inputs_[index] = buffer ? buffer : ScratchBuffer(index);
  predecessor_->PropagateOutputs();
}

void ChannelStrip::UpdateStack() {
  const int wanted = std::max({GetInputCount(), GetOutputCount(), 1});
  if (wanted == stackChannels_) return;
  stackChannels_ = wanted;
  ResizeStack();
}

void ChannelStrip::ResizeStack() {
  Resize(stackChannels_, engine_->BlockSize());
  // Walking the ring from the strip lets every node read its predecessor's new buffers and choose
  // its own outputs again.
  for (AudioLink* link = successor_; link != this; link = link->Successor()) {
    link->PropagateInputs();
    link->PropagateOutputs();
  }
}

}  // namespace Ombix::Kelvane
