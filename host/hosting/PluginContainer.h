#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/ILockable.h"
#include "host/hosting/IAudioProcessor.h"
#include "host/hosting/PackedMidiEvent.h"
#include "host/hosting/PatchInfo.h"

namespace Ombix::Kelvane {

class PluginFactory;

// One hosted plug-in slot: the path to load, the loaded processor, the slot's id, name, block size
// and sample rate, a queue of MIDI injected from the user interface, the program list and the editor
// state. It drives the slot's life through the plug-in factory; what the slot means to the rest of the
// host is left to the notifications its owner implements.
class PluginContainer {
 public:
  static constexpr int kInitialMidiCapacity = 8;
  // The injected-MIDI queue never holds more words; further words are dropped with one warning.
  static constexpr int kMaxQueuedMidi = 4096;

  // audioLock is the engine's lock (not owned): held around deleting the processor, the editor calls
  // and pushing MIDI, so none of them overlaps an audio block.
  PluginContainer(PluginFactory* factory, Common::System::Threading::ILockable* audioLock);
  virtual ~PluginContainer();
  PluginContainer(const PluginContainer&) = delete;
  PluginContainer& operator=(const PluginContainer&) = delete;

  void SetPath(const std::string& path);
  void RequestLoad();
  // The loader's calls, in this order.
  std::string TakeLoadPath();
  void SetPlugin(std::unique_ptr<IAudioProcessor> processor);
  // May delete the container (a disposed one), once every caller has released its lock.
  void LoadFinished();

  // Drops the processor and hands the container to the loader, which deletes it.
  void Dispose();
  void RefreshPrograms();
  void OpenEditor(void* parentWindow);
  void CloseEditor();
  void EditorIdle();
  void PushMidi(PackedMidiEvent word);
  // Called in every block under the audio lock with the block's device events: appends the queued
  // words after them (into the same array) and delivers them to the processor.
  void MergeQueuedMidi(int count, PackedMidiEvent* events, int capacity);

  int Id() const { return id_; }
  const std::string& Name() const { return name_; }
  const std::vector<PatchInfo>& Programs() const { return programs_; }
  int QueuedMidiCount() const { return static_cast<int>(midiQueue_.size()); }

 protected:
  virtual void OnLoading() = 0;
  virtual void OnActivated() = 0;
  virtual void OnDeactivated() = 0;
  virtual void OnUnloaded() = 0;
  virtual void DisposeSelf() = 0;
  virtual void OnSizeChanged(int width, int height) = 0;
  virtual void OnNameChanged() = 0;
  virtual void OnUpdateDisplay() = 0;
  virtual void SetInputCount(int count) = 0;
  virtual void SetOutputCount(int count) = 0;
  virtual void OnMidiKey(int note, bool on) = 0;
  virtual void OnPatchesChanged() = 0;

 public:
  // The loader gives up on a crashed load.
  virtual void CloseProcessor() = 0;

 protected:
  IAudioProcessor* Processor() const { return processor_.get(); }

  int blockSize_ = 256;
  double sampleRate_ = 44100.0;

 private:
  class Hold;

  // Queues the container and hands it to the direct loader or the loader threads (own lock held).
  void HandToLoader();
  void DeleteProcessor();
  void Deliver(int count, const PackedMidiEvent* events);

  std::string name_ = "<Empty>";
  const int id_;
  std::vector<PackedMidiEvent> midiQueue_;
  bool midiDropWarned_ = false;
  bool editorOpen_ = false;
  std::unique_ptr<IAudioProcessor> processor_;
  PluginFactory* const factory_;
  Common::System::Threading::CriticalSection lock_;
  Common::System::Threading::ILockable* const audioLock_;
  int lockDepth_ = 0;             // nested holds of lock_ on the owning thread
  bool deleteOnRelease_ = false;  // a disposed container, deleted when the outermost hold ends
  bool queued_ = false;
  bool loading_ = false;
  bool reloadWanted_ = false;
  bool dying_ = false;
  std::string loadPath_;
  std::vector<PatchInfo> programs_;
};

}  // namespace Ombix::Kelvane
