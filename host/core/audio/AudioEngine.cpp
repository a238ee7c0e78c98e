#include "host/core/audio/AudioEngine.h"

#include <algorithm>
#include <boost/bind/bind.hpp>
#include <cstring>

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/core/AudioLimits.h"
#include "host/core/Engine.h"
#include "host/core/Sync.h"
#include "host/core/audio/AudioPlugin.h"
#include "host/core/audio/ChannelStrip.h"
#include "host/core/audio/SharedBuffers.h"
#include "host/core/events/AudioDriverChanged.h"
#include "host/core/events/AudioDriverListChanged.h"
#include "host/core/events/AudioDriverResetRequested.h"
#include "host/core/events/AudioSystemListChanged.h"
#include "host/drivers/AudioSystems.h"
#include "host/drivers/IAudioDriver.h"
#include "host/drivers/StopSafeLock.h"
#include "host/drivers/midi/IMidiDriver.h"
#include "host/hosting/ProcessLevelRegistry.h"
#include "host/hosting/TimeInfo.h"

namespace Ombix::Kelvane {

namespace {

using Common::Logging::theLogger;
using Common::System::Threading::ScopedLock;

constexpr int kAudioSystemCount = 2;
constexpr double kProbedRates[] = {44100.0, 48000.0, 88200.0, 96000.0};

// Releases the engine lock taken by LockForDriverCall.
class Release {
 public:
  explicit Release(Common::System::Threading::CriticalSection& lock) : lock_(lock) {}
  ~Release() { lock_.Unlock(); }
  Release(const Release&) = delete;
  Release& operator=(const Release&) = delete;

 private:
  Common::System::Threading::CriticalSection& lock_;
};

std::vector<std::string> ChannelNames(IAudioDriver& driver, bool input) {
  std::vector<std::string> names;
  const int count = driver.ChannelCount(input);
  for (int i = 0; i < count; ++i) {
    names.push_back(driver.ChannelName(input, i));
    theLogger.Info("      %d %s\n", i + 1, names.back().c_str());
  }
  return names;
}

}  // namespace

AudioEngine::AudioEngine(HWND mainWindow, Engine* engine)
    : AudioWorker(this), window_(mainWindow), owner_(engine), sync_(std::make_unique<Sync>()) {
  SetThreadPriority(GetHandle(), THREAD_PRIORITY_TIME_CRITICAL);
  SetName("AudioEngine");
  SampleRateChanged.connect(boost::bind(&Sync::SetSampleRate, sync_.get(), boost::placeholders::_1));
}

AudioEngine::~AudioEngine() {
  {
    // Under the lock, like every stop: a deferred block in flight finishes first.
    ScopedLock hold(lock_);
    if (driver_) driver_->Stop();
  }
  // No more blocks can wake the service thread: end it before the engine's parts go.
  ServiceThread::Stop();
  Sleep(200);
  ScopedLock hold(lock_);
  driver_.reset();
  midi_.reset();
  SampleRateChanged.disconnect_all_slots();
  sync_.reset();
  ResizeSharedBuffers(0);
  strip_.reset();
}

void AudioEngine::Init() {
  OnBufferSizeChanged(256);
  OnSampleRateChanged(44100.0);
  midi_.reset(CreateMidiDriver());
  midiCapacity_ = midi_->Capacity();
  midiCounts_.assign(static_cast<std::size_t>(std::max(midi_->DeviceCount(), 1)), 0);
  midiEvents_.assign(midiCounts_.size(), nullptr);
  strip_ = std::make_unique<ChannelStrip>(this);
  deviceIndex_ = -1;
  systemIndex_ = -1;
  PostAudioSystemList();
  SetAudioSystem(0);
}

bool AudioEngine::LockForDriverCall() {
  if (!driver_) {
    lock_.Lock();
    return true;
  }
  return LockUnlessStopping(lock_, *driver_);
}

void AudioEngine::OnBufferSwitch(bool processNow) {
  blockTimer_.Reset();
  if (blockCount_ == 0) processLevelRegistry.RegisterCurrentThread(ProcessLevelRegistry::AudioThread);
  ++blockCount_;
  if (processNow) {
    RunBlock(true);
  } else {
    Start();
  }
}

void AudioEngine::Process() {
  if (!serviceThreadRegistered_) {
    processLevelRegistry.RegisterCurrentThread(ProcessLevelRegistry::AudioThread);
    serviceThreadRegistered_ = true;
  }
  RunBlock(false);
}

void AudioEngine::RunBlock(bool onDriverThread) {
  if (onDriverThread) {
    // The driver's own thread: a Stop waiting for this thread may hold the lock.
    if (!driver_ || !LockUnlessStopping(lock_, *driver_)) return;
  } else {
    lock_.Lock();
  }
  Release release(lock_);
  // Deferred, the block may come after the driver was stopped or replaced.
  if (busy_ || !driver_ || (!onDriverThread && !driver_->IsRunning())) return;
  busy_ = true;

  for (int i = 0; i < midi_->DeviceCount() && i < static_cast<int>(midiCounts_.size()); ++i)
    midi_->Fetch(i, midiCounts_[i], midiEvents_[i]);
  strip_->midiCount = &midiCounts_[0];
  strip_->midiEvents = midiEvents_[0];

  sync_->Advance(blockSize_);
  UpdateVstTimeInfo(sync_->Position());

  // Outputs that no plug-in writes play silence, not the previous block.
  for (int i = 0; i < strip_->GetInputCount(); ++i) {
    if (float* output = strip_->GetInput(i))
      std::memset(output, 0, sizeof(float) * static_cast<std::size_t>(blockSize_));
  }
  ProcessJobs();
  fade_.Apply(*strip_, blockSize_);

  const float load = driver_->FinishBlock();
  if (peakReset_.exchange(false)) {
    loadPeak_ = load;
  } else if (load > loadPeak_) {
    loadPeak_ = load;
  }

  {
    ScopedLock pending(pendingLock_);
    ScopedLock done(doneLock_);
    pending_.swap(done_);
  }
  busy_ = false;
}

float AudioEngine::TakeLoadPeak() {
  peakReset_ = true;
  if (!driver_ || !driver_->IsRunning()) loadPeak_ = 0.0f;
  return loadPeak_;
}

void AudioEngine::OnBufferSizeChanged(int frames) {
  if (!LockForDriverCall()) return;
  Release release(lock_);
  if (frames != blockSize_ && IsUsableBlockSize(frames)) {
    blockSize_ = frames;
    ResizeSharedBuffers(frames);
    BlockSizeChanged(frames);
    if (deviceIndex_ != -1) OnDriverCapsChanged();
  }
  AssignDriverBuffers();
}

void AudioEngine::OnSampleRateChanged(double rate) {
  if (rate == sampleRate_) return;
  if (!IsUsableSampleRate(rate)) {
    theLogger.Warning("Sample rate %f ignored\n", rate);
    return;
  }
  if (!LockForDriverCall()) return;
  Release release(lock_);
  sampleRate_ = rate;
  SampleRateChanged(rate);
  if (deviceIndex_ != -1) OnDriverCapsChanged();
}

void AudioEngine::AssignDriverBuffers() {
  if (!driver_ || !strip_) return;
  const int channels = strip_->StackChannels();
  for (int i = 0; i < channels; ++i) {
    const bool hasInput = i < static_cast<int>(activeInputs_.size());
    strip_->SetInput(i, hasInput ? driver_->InputBuffer(activeInputs_[i]) : nullptr);
    const bool hasOutput = i < static_cast<int>(activeOutputs_.size());
    strip_->SetOutput(i, hasOutput ? driver_->OutputBuffer(activeOutputs_[i]) : nullptr);
  }
}

void AudioEngine::OnDriverCapsChanged() {
  if (!driver_) return;
  ScopedLock hold(lock_);
  theLogger.Info("Driver caps changed\n");
  theLogger.Info("  Sample rates:\n");
  std::vector<double> rates;
  for (const double rate : kProbedRates) {
    theLogger.Info("    %f => ", rate);
    if (driver_->CanSampleRate(rate)) {
      theLogger.Info("OK!\n");
      rates.push_back(rate);
    } else {
      theLogger.Warning("Not supported!\n");
    }
  }
  theLogger.Info("  Channels:\n");
  theLogger.Info("    Inputs:\n");
  const std::vector<std::string> inputs = ChannelNames(*driver_, true);
  theLogger.Info("    Outputs:\n");
  const std::vector<std::string> outputs = ChannelNames(*driver_, false);
  owner_->PostEvent(new Events::AudioDriverChanged(deviceIndex_, sampleRate_, blockSize_, rates,
                                                   driver_->MinBufferSize(), driver_->MaxBufferSize(),
                                                   driver_->BufferGranularity(), inputs, outputs));
}

void AudioEngine::PostAudioSystemList() {
  std::vector<std::string> names;
  for (int i = 0; i < kAudioSystemCount; ++i) names.push_back(AudioSystemName(i));
  owner_->PostEvent(new Events::AudioSystemListChanged(names));
}

void AudioEngine::SetAudioSystem(int index) {
  if (index == systemIndex_) return;
  {
    ScopedLock hold(lock_);
    if (driver_) driver_->Stop();
    SetAudioDriver(-1);
    driver_.reset();
    driver_.reset(CreateAudioDriver(window_, this, index));
    systemIndex_ = driver_ ? index : -1;
  }
  std::vector<std::string> names;
  if (driver_) {
    const int count = driver_->DeviceCount();
    for (int i = 0; i < count; ++i) names.push_back(driver_->DeviceName(static_cast<unsigned>(i)));
  }
  owner_->PostEvent(new Events::AudioDriverListChanged(names, index));
  SetAudioDriver(-1);
}

void AudioEngine::SetAudioDriver(int index) {
  if (index == deviceIndex_) return;
  ScopedLock hold(lock_);
  if (driver_) driver_->Stop();
  deviceIndex_ = -1;
  strip_->SetInput(0, nullptr);
  strip_->SetInput(1, nullptr);
  strip_->SetOutput(0, nullptr);
  strip_->SetOutput(1, nullptr);
  if (driver_ && driver_->OpenDevice(index)) deviceIndex_ = index;
  OnDriverCapsChanged();
}

void AudioEngine::ConfigureDriver(double rate, int frames) {
  if (!driver_ || !IsUsableSampleRate(rate) || !IsUsableBlockSize(frames)) return;
  ScopedLock hold(lock_);
  if (deviceIndex_ == -1) return;
  driver_->Stop();
  driver_->SetSampleRate(rate);
  driver_->SetBufferSize(frames);
}

void AudioEngine::StartDriver() {
  if (driver_ && driver_->IsRunning()) return;
  theLogger.Info("Starting Audio\n");
  if (!driver_) {
    theLogger.Warning("No audio driver loaded!\n");
    return;
  }
  ScopedLock hold(lock_);
  for (int i = 0; i < driver_->ChannelCount(true); ++i) driver_->SetChannelActive(true, i, false);
  for (int i = 0; i < driver_->ChannelCount(false); ++i) driver_->SetChannelActive(false, i, false);
  theLogger.Info("Activating channels:\n");
  theLogger.Info("  Inputs:\n");
  ActivateChannels(true, activeInputs_);
  theLogger.Info("  Outputs:\n");
  ActivateChannels(false, activeOutputs_);
  blockCount_ = 0;
  fade_.Reset();
  if (deviceIndex_ >= 0) driver_->Start();
}

void AudioEngine::ActivateChannels(bool input, const std::vector<int>& channels) {
  const int count = driver_->ChannelCount(input);
  for (const int channel : channels) {
    // An entry without a channel of this device (none, or one of another device) leaves its plug-in
    // input silent and its output unheard; a driver may name any index, so only real ones are named.
    if (channel < 0 || channel >= count) continue;
    driver_->SetChannelActive(input, channel, true);
    theLogger.Info("    %s\n", driver_->ChannelName(input, channel).c_str());
  }
}

void AudioEngine::AddIOConfig(bool input, const std::string&, const std::vector<int>& channels) {
  theLogger.Info("Adding IOConfig\n");
  ScopedLock hold(lock_);
  std::vector<int>& active = input ? activeInputs_ : activeOutputs_;
  // The set the driver plays already (the settings model applies its sets again after every news
  // of the driver, also while it plays): nothing to stop for.
  if (driver_ && channels == active) return;
  if (driver_) {
    driver_->Stop();
  } else {
    theLogger.Info("No audio driver loaded.\n");
  }
  active = channels;
}

void AudioEngine::OnResetRequest() {
  if (!resetRequested_.exchange(true)) owner_->PostEvent(new Events::AudioDriverResetRequested);
}

void AudioEngine::ResetDriver() {
  if (!resetRequested_.exchange(false)) return;
  ScopedLock hold(lock_);
  // A driver stopped meanwhile re-reads the device at its next start anyway.
  if (!driver_ || !driver_->IsRunning()) return;
  theLogger.Info("Restarting the audio driver\n");
  driver_->Stop();
  StartDriver();
  // The device may have changed so much that it no longer starts: show what it is now.
  if (!driver_->IsRunning()) OnDriverCapsChanged();
}

void AudioEngine::AddPlugin(AudioPlugin* plugin) {
  ScopedLock hold(lock_);
  // A plug-in joins the graph once, at its end.
  RemovePlugin(plugin);
  strip_->SetInputCount(plugin->GetInputCount());
  strip_->SetOutputCount(plugin->GetOutputCount());
  AudioLink::LinkAfter(plugin, strip_->Predecessor());
  AssignDriverBuffers();
  ScopedLock pending(pendingLock_);
  pending_.push_back(plugin);
}

void AudioEngine::RemovePlugin(AudioPlugin* plugin) {
  ScopedLock hold(lock_);
  {
    ScopedLock pending(pendingLock_);
    ScopedLock done(doneLock_);
    pending_.remove(plugin);
    done_.remove(plugin);
  }
  // An inactive plug-in leaves the ring too, so that nobody reads buffers it no longer writes.
  plugin->Unlink();
}

}  // namespace Ombix::Kelvane
