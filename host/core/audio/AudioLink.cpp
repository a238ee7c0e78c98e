#include "host/core/audio/AudioLink.h"

#include <algorithm>

#include "common/system/threading/ScopedLock.h"
#include "host/core/audio/AudioBufferStack.h"
#include "host/core/audio/AudioEngine.h"
#include "host/core/audio/SharedBuffers.h"

namespace Ombix::Kelvane {

using Common::System::Threading::ScopedLock;

AudioLink::AudioLink(AudioEngine* engine, AudioBufferStack* stack)
    : stack_(stack), predecessor_(this), successor_(this), engine_(engine) {
  blockSizeConnection_ =
      engine_->BlockSizeChanged.connect([this](int frames) { OnBlockSizeChanged(frames); });
}

AudioLink::~AudioLink() {
  Disconnect();
  Unlink();
}

void AudioLink::SetInputCount(int count) {
  ScopedLock hold(engine_->Lock());
  inputs_.assign(static_cast<std::size_t>(std::max(count, 0)), SilenceBuffer());
  PropagateInputs();
}

void AudioLink::SetOutputCount(int count) {
  ScopedLock hold(engine_->Lock());
  outputs_.resize(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < GetOutputCount(); ++i) outputs_[i] = ScratchBuffer(i);
  PropagateOutputs();
}

float* AudioLink::GetInput(int index) {
  return index >= 0 && index < GetInputCount() ? inputs_[index] : nullptr;
}

float* AudioLink::GetOutput(int index) {
  if (index < 0 || index >= GetOutputCount() || outputs_[index] == ScratchBuffer(index)) return nullptr;
  return outputs_[index];
}

float* AudioLink::GetStackBuffer(int channel, int set) {
  return stack_ ? stack_->Buffer(channel, set) : nullptr;
}

void AudioLink::SetInput(int index, float* buffer) {
  if (index >= 0 && index < GetInputCount()) inputs_[index] = buffer ? buffer : SilenceBuffer();
}

void AudioLink::SetOutput(int index, float* buffer) {
  if (index >= 0 && index < GetOutputCount()) outputs_[index] = buffer ? buffer : ScratchBuffer(index);
}

void AudioLink::PropagateInputs() {
  if (predecessor_ == this) {
    inputState_ = kNotLinked;
    for (int i = 0; i < GetInputCount(); ++i) SetInput(i, nullptr);
    return;
  }
  inputState_ = predecessor_->OutputState() == kStrip ? kDriver : predecessor_->OutputState();
  const int available = predecessor_->GetOutputCount();
  for (int i = 0; i < GetInputCount(); ++i) SetInput(i, i < available ? predecessor_->GetOutput(i) : nullptr);
}

void AudioLink::PropagateOutputs() {
  if (successor_ == this) {
    outputState_ = kNotLinked;
    for (int i = 0; i < GetOutputCount(); ++i) SetOutput(i, nullptr);
    return;
  }
  // A node between two others uses the set that neither of its neighbours uses.
  const int a = inputState_;
  const int b = successor_->OutputState();
  int set = 0;
  if (std::min(a, b) == 0) {
    const int m = std::max(a, b);
    set = m == 1 ? 2 : m == 2 ? 1 : 0;
  }
  if (successor_->InputState() == kStrip) {
    outputState_ = kDriver;
    const int available = successor_->GetInputCount();
    for (int i = 0; i < GetOutputCount(); ++i)
      SetOutput(i, i < available ? successor_->GetInput(i) : nullptr);
    return;
  }
  outputState_ = set;
  for (int i = 0; i < GetOutputCount(); ++i) SetOutput(i, GetStackBuffer(i, set));
  // The successor always re-reads: the buffers may have changed even where the set did not.
  successor_->PropagateInputs();
}

void AudioLink::Unlink() {
  ScopedLock hold(engine_->Lock());
  AudioLink* const predecessor = predecessor_;
  AudioLink* const successor = successor_;
  predecessor->successor_ = successor;
  successor->predecessor_ = predecessor;
  predecessor_ = this;
  successor_ = this;
  stack_ = nullptr;
  midiCount_ = nullptr;
  midiEvents_ = nullptr;
  inputState_ = kNotLinked;
  outputState_ = kNotLinked;
  if (successor != this) {
    successor->PropagateInputs();
    // The former predecessor now feeds the former successor: it re-chooses its outputs so that what
    // it writes still reaches the driver or the next node.
    predecessor->PropagateOutputs();
  }
}

void AudioLink::LinkAfter(AudioLink* link, AudioLink* anchor) {
  link->Unlink();
  ScopedLock hold(link->engine_->Lock());
  link->stack_ = anchor->stack_;
  link->midiCount_ = anchor->stack_ ? &anchor->stack_->midiCount : nullptr;
  link->midiEvents_ = anchor->stack_ ? &anchor->stack_->midiEvents : nullptr;
  link->predecessor_ = anchor;
  link->successor_ = anchor->successor_;
  anchor->successor_->predecessor_ = link;
  anchor->successor_ = link;
  if (anchor->outputState_ == kDriver) {
    anchor->outputState_ = kNotLinked;
    anchor->PropagateOutputs();
  }
  link->PropagateInputs();
  link->PropagateOutputs();
}

void AudioLink::OnBlockSizeChanged(int) {
  auto swap = [](std::vector<float*>& buffers) {
    for (std::size_t i = 0; i < buffers.size(); ++i) {
      const int channel = static_cast<int>(i);
      if (buffers[i] == PreviousSilenceBuffer()) {
        buffers[i] = SilenceBuffer();
      } else if (buffers[i] == PreviousScratchBuffer(channel)) {
        buffers[i] = ScratchBuffer(channel);
      }
    }
  };
  swap(inputs_);
  swap(outputs_);
  OnBlockSize();
}

int AudioLink::MidiCount() const {
  return midiCount_ && *midiCount_ ? **midiCount_ : 0;
}

PackedMidiEvent* AudioLink::MidiEvents() const {
  return midiEvents_ ? *midiEvents_ : nullptr;
}

}  // namespace Ombix::Kelvane
