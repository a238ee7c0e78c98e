#include "host/core/audio/AudioPlugin.h"

#include "common/system/threading/ScopedLock.h"
#include "host/core/Engine.h"
#include "host/core/PluginStatus.h"
#include "host/core/audio/AudioEngine.h"
#include "host/core/events/PluginMidiKey.h"
#include "host/core/events/PluginNameChanged.h"
#include "host/core/events/PluginPatchesChanged.h"
#include "host/core/events/PluginSizeChanged.h"
#include "host/core/events/PluginStatusChanged.h"
#include "host/core/events/PluginUpdateDisplay.h"

namespace Ombix::Kelvane {

using Common::System::Threading::ScopedLock;

AudioPlugin::AudioPlugin(PluginFactory* factory, AudioEngine* audioEngine, Engine* engine)
    : PluginContainer(factory, &audioEngine->Lock()),
      AudioLink(audioEngine, nullptr),
      owner_(engine),
      audioEngine_(audioEngine) {
  blockSize_ = audioEngine_->BlockSize();
  sampleRate_ = audioEngine_->SampleRate();
  sampleRateConnection_ =
      audioEngine_->SampleRateChanged.connect([this](double rate) { OnSampleRate(rate); });
}

AudioPlugin::~AudioPlugin() {
  ScopedLock hold(audioEngine_->Lock());
  sampleRateConnection_.disconnect();
  Disconnect();
  // Never left in a job list, whatever way the container went.
  audioEngine_->RemovePlugin(this);
  Unlink();
}

void AudioPlugin::SetStatus(int status) {
  if (status == status_) return;
  status_ = status;
  owner_->PostEvent(new Events::PluginStatusChanged(Id(), status));
}

void AudioPlugin::SetProgram(int program) {
  if (IAudioProcessor* processor = Processor()) processor->SetProgram(static_cast<unsigned>(program));
}

void AudioPlugin::KeyDown(const PluginKeyEvent& key) {
  if (IAudioProcessor* processor = Processor()) processor->KeyDown(key);
}

void AudioPlugin::KeyUp(const PluginKeyEvent& key) {
  if (IAudioProcessor* processor = Processor()) processor->KeyUp(key);
}

void AudioPlugin::ProcessBlock(int frames) {
  if (IAudioProcessor* processor = Processor()) processor->Process(Inputs(), Outputs(), frames);
}

void AudioPlugin::SetInputCount(int count) {
  AudioLink::SetInputCount(count);
}

void AudioPlugin::SetOutputCount(int count) {
  AudioLink::SetOutputCount(count);
}

void AudioPlugin::CloseProcessor() {
  if (Processor()) SetPlugin(nullptr);
}

void AudioPlugin::OnBlockSize() {
  blockSize_ = audioEngine_->BlockSize();
  if (IAudioProcessor* processor = Processor()) processor->SetBlockSize(blockSize_);
}

void AudioPlugin::OnSampleRate(double) {
  sampleRate_ = audioEngine_->SampleRate();
  if (IAudioProcessor* processor = Processor()) processor->SetSampleRate(sampleRate_);
}

void AudioPlugin::OnLoading() {
  SetStatus((status_ & ~PluginFailed) | PluginLoading);
}

void AudioPlugin::OnActivated() {
  SetStatus((status_ & ~PluginLoading) | PluginActive);
  audioEngine_->AddPlugin(this);
}

void AudioPlugin::OnDeactivated() {
  audioEngine_->RemovePlugin(this);
}

void AudioPlugin::OnUnloaded() {
  int status = status_ & ~(PluginActive | PluginLoading);
  if (status_ & PluginLoading) status |= PluginFailed;
  SetStatus(status);
}

void AudioPlugin::DisposeSelf() {
  owner_->DisposePlugin(Id());
}

void AudioPlugin::OnSizeChanged(int width, int height) {
  owner_->PostEvent(new Events::PluginSizeChanged(Id(), width, height));
}

void AudioPlugin::OnNameChanged() {
  owner_->PostEvent(new Events::PluginNameChanged(Id(), Name()));
}

void AudioPlugin::OnUpdateDisplay() {
  owner_->PostEvent(new Events::PluginUpdateDisplay(Id()));
}

void AudioPlugin::OnMidiKey(int note, bool on) {
  owner_->PostEvent(new Events::PluginMidiKey(Id(), static_cast<unsigned char>(note), on));
}

void AudioPlugin::OnPatchesChanged() {
  owner_->PostEvent(new Events::PluginPatchesChanged(Id(), Programs()));
}

}  // namespace Ombix::Kelvane
