#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/hosting/tests/plugins/RecordingPlugin.h"

namespace Testing {

// The full path of a test plug-in built beside the test program.
std::string PluginPath(const std::string& name);
// Whether the process still has the test plug-in's library loaded.
bool IsLoaded(const std::string& name);

// Makes a folder the working folder while it lives.
class WorkingFolder {
 public:
  explicit WorkingFolder(const std::string& folder) {
    GetCurrentDirectoryA(MAX_PATH, previous_);
    SetCurrentDirectoryA(folder.c_str());
  }
  ~WorkingFolder() { SetCurrentDirectoryA(previous_); }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

 private:
  char previous_[MAX_PATH] = {};
};

// The recording plug-in, kept loaded by the test so that its record of calls can be read; the host
// loads it once more on its own.
class RecordingPluginLibrary {
 public:
  static constexpr const char* kName = "recording_plugin";

  RecordingPluginLibrary();
  ~RecordingPluginLibrary();
  RecordingPluginLibrary(const RecordingPluginLibrary&) = delete;
  RecordingPluginLibrary& operator=(const RecordingPluginLibrary&) = delete;

  static std::string Path() { return PluginPath(kName); }

  void Configure(int inputs, int outputs, int programs, int flags) {
    configure_(inputs, outputs, programs, flags);
  }
  // The lines recorded since the last Clear.
  std::vector<std::string> Lines() const;
  // The recorded lines that start with the prefix.
  std::vector<std::string> Lines(const std::string& prefix) const;
  void Clear() { clear_(); }
  Ombix::Kelvane::VstIntPtr CallHost(int opcode, int index = 0, Ombix::Kelvane::VstIntPtr value = 0,
                                     void* ptr = nullptr, float opt = 0.0f) {
    return callHost_(opcode, index, value, ptr, opt);
  }
  int Instances() const { return instances_(); }
  void HoldEntries(bool hold) { holdEntries_(hold ? 1 : 0); }
  void AwaitWaitingEntries(int count) { awaitWaitingEntries_(count); }
  const char* EntryDirectory() const { return entryDirectory_(); }

 private:
  template <typename Proc>
  Proc Export(const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_;
  RecordingPlugin::ConfigureProc configure_;
  RecordingPlugin::LogProc log_;
  RecordingPlugin::ClearProc clear_;
  RecordingPlugin::CallHostProc callHost_;
  RecordingPlugin::InstancesProc instances_;
  RecordingPlugin::HoldEntriesProc holdEntries_;
  RecordingPlugin::AwaitWaitingEntriesProc awaitWaitingEntries_;
  RecordingPlugin::EntryDirectoryProc entryDirectory_;
};

}  // namespace Testing
