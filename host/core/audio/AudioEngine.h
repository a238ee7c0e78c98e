#pragma once

#include <windows.h>

#include <atomic>
#include <boost/signals2/signal.hpp>
#include <memory>
#include <string>
#include <vector>

#include "common/system/Timer.h"
#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/ServiceThread.h"
#include "host/core/audio/AudioWorker.h"
#include "host/core/audio/OutputFade.h"
#include "host/drivers/IAudioHandler.h"
#include "host/drivers/midi/PackedMidiEvent.h"

namespace Ombix::Kelvane {

class AudioPlugin;
class ChannelStrip;
class Engine;
class IAudioDriver;
class IMidiDriver;
class Sync;

// The host's real-time engine: owns the audio driver of the selected system, the MIDI driver, the
// channel strip that closes the audio graph, and the transport. Drivers call it on their own threads;
// commands call its driver operations on the GUI thread. The engine lock (recursive) orders every
// access to the drivers and the graph; news goes out as events through the Engine.
class AudioEngine : public Common::System::Threading::ServiceThread,
                    public IAudioHandler,
                    public AudioWorker {
 public:
  AudioEngine(HWND mainWindow, Engine* engine);
  // Stops the driver, waits 200 ms for its last callbacks and frees everything.
  ~AudioEngine() override;
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;

  // A deferred block, on the service thread (which registers itself as an audio thread first).
  void Process() override;
  // Posts what the driver's open device can do.
  virtual void OnDriverCapsChanged();

  void OnBufferSwitch(bool processNow) override;
  // A size below 1 is not taken (the driver's buffers are still assigned anew).
  void OnBufferSizeChanged(int frames) override;
  // A rate that is not finite and positive is not taken.
  void OnSampleRateChanged(double rate) override;
  // Any thread: posts the request to the GUI thread, once until it is handled there.
  void OnResetRequest() override;

  // Sets 256 frames at 44100 Hz, makes the MIDI driver and the strip, posts the system list and
  // selects ASIO.
  void Init();
  void PostAudioSystemList();
  void SetAudioSystem(int index);
  void SetAudioDriver(int index);
  void ConfigureDriver(double rate, int frames);
  void StartDriver();
  // GUI thread: restarts a running driver whose device asked for a reset; its start re-reads the
  // device.
  void ResetDriver();
  // Replaces the active input (or output) channels; stops the driver first, unless the channels are
  // the active ones already.
  void AddIOConfig(bool input, const std::string& name, const std::vector<int>& channels);
  void AddPlugin(AudioPlugin* plugin);
  void RemovePlugin(AudioPlugin* plugin);

  // The engine lock: also the audio lock of every plug-in container.
  Common::System::Threading::CriticalSection& Lock() { return lock_; }
  IAudioDriver* Driver() { return driver_.get(); }
  const Common::System::Timer& BlockTimer() const { return blockTimer_; }
  int BlockSize() const { return blockSize_; }
  double SampleRate() const { return sampleRate_; }
  int MidiCapacity() const { return midiCapacity_; }
  ChannelStrip* Strip() { return strip_.get(); }
  // Fades the output out before shut-down; the next start of the driver plays at full level again.
  OutputFade& Fade() { return fade_; }
  const Sync& Transport() const { return *sync_; }
  // Asks for a new peak to start at the next block and answers the peak so far (0 while no driver
  // runs).
  float TakeLoadPeak();

  boost::signals2::signal<void(int frames)> BlockSizeChanged;
  boost::signals2::signal<void(double rate)> SampleRateChanged;

 private:
  // One block under the engine lock; a block on the driver's thread is given up while the driver is
  // being stopped.
  void RunBlock(bool onDriverThread);
  // Callers hold the engine lock.
  void AssignDriverBuffers();
  // Takes the engine lock for a call that may come on the driver's thread.
  bool LockForDriverCall();
  // Activates the listed channels of one side that the driver has and names each in the log. Callers
  // hold the engine lock and have a driver.
  void ActivateChannels(bool input, const std::vector<int>& channels);

  HWND const window_;
  Engine* const owner_;
  std::unique_ptr<Sync> sync_;
  std::unique_ptr<ChannelStrip> strip_;
  Common::System::Threading::CriticalSection lock_;
  int systemIndex_ = -1;
  int deviceIndex_ = -1;
  double sampleRate_ = 0.0;
  int blockSize_ = 0;
  std::atomic<int> blockCount_{0};
  std::atomic<float> loadPeak_{0.0f};
  std::atomic<bool> peakReset_{false};
  std::atomic<bool> resetRequested_{false};
  std::unique_ptr<IAudioDriver> driver_;
  std::unique_ptr<IMidiDriver> midi_;
  std::vector<PackedMidiEvent*> midiEvents_;
  std::vector<int> midiCounts_;
  int midiCapacity_ = 0;
  std::vector<int> activeInputs_;
  std::vector<int> activeOutputs_;
  bool busy_ = false;
  bool serviceThreadRegistered_ = false;  // used on the service thread only
  Common::System::Timer blockTimer_;
  OutputFade fade_;
};

}  // namespace Ombix::Kelvane
