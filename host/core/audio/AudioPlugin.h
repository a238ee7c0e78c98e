#pragma once

#include <boost/signals2/connection.hpp>

#include "host/core/audio/AudioLink.h"
#include "host/hosting/PluginContainer.h"

namespace Ombix::Kelvane {

class Engine;

// One hosted plug-in in the audio graph: its container, its node in the ring and its state bits.
// The container's notifications become events for the Logic.
class AudioPlugin : public PluginContainer, public AudioLink {
 public:
  AudioPlugin(PluginFactory* factory, AudioEngine* audioEngine, Engine* engine);
  ~AudioPlugin() override;

  int Status() const { return status_; }
  // Posts PluginStatusChanged when the bits differ from the stored ones.
  void SetStatus(int status);

  // The processor's operations the commands use; nothing without a processor.
  void SetProgram(int program);
  void KeyDown(const PluginKeyEvent& key);
  void KeyUp(const PluginKeyEvent& key);
  // One block with the node's buffers (inside the engine's block).
  void ProcessBlock(int frames);

  void SetInputCount(int count) override;
  void SetOutputCount(int count) override;
  void CloseProcessor() override;
  void OnBlockSize() override;

 protected:
  void OnLoading() override;
  void OnActivated() override;
  void OnDeactivated() override;
  void OnUnloaded() override;
  void DisposeSelf() override;
  void OnSizeChanged(int width, int height) override;
  void OnNameChanged() override;
  void OnUpdateDisplay() override;
  void OnMidiKey(int note, bool on) override;
  void OnPatchesChanged() override;

 private:
  void OnSampleRate(double rate);

  Engine* const owner_;
  AudioEngine* const audioEngine_;
  int status_ = 0;
  boost::signals2::scoped_connection sampleRateConnection_;
};

}  // namespace Ombix::Kelvane
