#include "host/hosting/tests/TestPluginLibrary.h"

#include <sstream>
#include <stdexcept>

#include "TestPaths.h"
#include "host/hosting/VstRecords.h"

namespace Testing {

std::string PluginPath(const std::string& name) {
  return binaryFolder() + name + ".dll";
}

bool IsLoaded(const std::string& name) {
  return GetModuleHandleA(PluginPath(name).c_str()) != nullptr;
}

RecordingPluginLibrary::RecordingPluginLibrary() : module_(LoadLibraryA(Path().c_str())) {
  if (!module_) throw std::runtime_error("the recording plug-in is missing");
  configure_ = Export<RecordingPlugin::ConfigureProc>("RecorderConfigure");
  log_ = Export<RecordingPlugin::LogProc>("RecorderLog");
  clear_ = Export<RecordingPlugin::ClearProc>("RecorderClear");
  callHost_ = Export<RecordingPlugin::CallHostProc>("RecorderCallHost");
  instances_ = Export<RecordingPlugin::InstancesProc>("RecorderInstances");
  holdEntries_ = Export<RecordingPlugin::HoldEntriesProc>("RecorderHoldEntries");
  awaitWaitingEntries_ = Export<RecordingPlugin::AwaitWaitingEntriesProc>("RecorderAwaitWaitingEntries");
  entryDirectory_ = Export<RecordingPlugin::EntryDirectoryProc>("RecorderEntryDirectory");
  using namespace Ombix::Kelvane;
  Configure(2, 2, 3, effFlagsCanReplacing | effFlagsHasEditor | effFlagsIsSynth);
  Clear();
}

RecordingPluginLibrary::~RecordingPluginLibrary() {
  HoldEntries(false);
  FreeLibrary(module_);
}

std::vector<std::string> RecordingPluginLibrary::Lines() const {
  return Lines("");
}

std::vector<std::string> RecordingPluginLibrary::Lines(const std::string& prefix) const {
  std::vector<std::string> lines;
  std::istringstream text(log_());
  for (std::string line; std::getline(text, line);) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

}  // namespace Testing
