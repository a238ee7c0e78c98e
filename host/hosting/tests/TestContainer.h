#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "host/hosting/PluginContainer.h"

namespace Testing {

// Guards every list of notes: loader threads write them while the test reads.
inline std::mutex& NotesLock() {
  static std::mutex lock;
  return lock;
}

inline std::vector<std::string> Snapshot(const std::vector<std::string>& notes) {
  std::lock_guard<std::mutex> hold(NotesLock());
  return notes;
}

// A container whose owner only writes down the notifications it receives ("loading", "name Lead -
// Acme", "key 60 on", ...), in a list that outlives the container. A hook may act on each one.
class TestContainer : public Ombix::Kelvane::PluginContainer {
 public:
  TestContainer(Ombix::Kelvane::PluginFactory* factory, Common::System::Threading::ILockable* audioLock,
                std::vector<std::string>& notes)
      : PluginContainer(factory, audioLock), notes_(notes) {}
  ~TestContainer() override {
    std::lock_guard<std::mutex> hold(NotesLock());
    notes_.push_back("deleted");
  }

  std::function<void(const std::string& note)> hook;

  Ombix::Kelvane::IAudioProcessor* Loaded() const { return Processor(); }
  void CloseProcessor() override {
    Note("close processor");
    if (Processor()) SetPlugin(nullptr);
  }

 protected:
  void OnLoading() override { Note("loading"); }
  void OnActivated() override { Note("activated"); }
  void OnDeactivated() override { Note("deactivated"); }
  void OnUnloaded() override { Note("unloaded"); }
  void DisposeSelf() override { Note("dispose self"); }
  void OnSizeChanged(int width, int height) override {
    Note("size " + std::to_string(width) + "x" + std::to_string(height));
  }
  void OnNameChanged() override { Note("name " + Name()); }
  void OnUpdateDisplay() override { Note("update display"); }
  void SetInputCount(int count) override { Note("inputs " + std::to_string(count)); }
  void SetOutputCount(int count) override { Note("outputs " + std::to_string(count)); }
  void OnMidiKey(int note, bool on) override { Note("key " + std::to_string(note) + (on ? " on" : " off")); }
  void OnPatchesChanged() override { Note("patches " + std::to_string(Programs().size())); }

 private:
  void Note(const std::string& note) {
    {
      std::lock_guard<std::mutex> hold(NotesLock());
      notes_.push_back(note);
    }
    if (hook) hook(note);
  }

  std::vector<std::string>& notes_;
};

}  // namespace Testing
