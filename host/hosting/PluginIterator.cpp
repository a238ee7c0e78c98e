#include "host/hosting/PluginIterator.h"

#include <algorithm>
#include <utility>

#include "common/config/Configuration.h"
#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/hosting/FolderListing.h"
#include "host/hosting/PeMachine.h"
#include "host/hosting/ProbeAnswer.h"
#include "host/hosting/ProbeProcess.h"
#include "host/hosting/ProbeProtocol.h"

namespace Ombix::Kelvane {
namespace {

using Common::System::Threading::ScopedLock;

const char* const kPluginElements = "PluginSystem/PluginInfo/Plugin";

// The probe program is built like the host, so it can load only DLLs built for the host's own
// processor; any other DLL is only recorded. A file that is no PE image is probed, and the probe
// program finds out that it cannot load it.
bool CanProbe(std::uint16_t machine) {
  constexpr std::uint16_t kHostMachine = sizeof(void*) == 8 ? kMachineAmd64 : kMachineI386;
  return machine == 0 || machine == kHostMachine;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

}  // namespace

PluginIterator::PluginIterator(std::string probeProgram, Common::Config::Configuration* configuration,
                               unsigned short port)
    : filledSlots_(0, kQueueSize),
      freeSlots_(kQueueSize, kQueueSize),
      probing_(false),
      failed_(true),
      firstAnswerClient_(0),
      probeProgram_(std::move(probeProgram)),
      running_(true),
      port_(port),
      configuration_(configuration),
      connection_(this) {
  SetName("Plugin iterator");
  if (connection_.Open(ProbeProtocol::kAddress, port_)) {
    port_ = connection_.Port();
  } else {
    Common::Logging::theLogger.Warning("Plugin scanner cannot listen on port %u\n", port_);
  }
  Start();
}

PluginIterator::~PluginIterator() {
  running_ = false;
  // Stopping never waits for room in the queue: the thread may have left its loop and will take
  // nothing more. One more filled count wakes it when it waits for a path (with a full queue it
  // does not wait, and the count is refused).
  filledSlots_.Signal();
  WaitForEnd();
  connection_.Close();
}

void PluginIterator::Scan(const std::string& folder) {
  QueueListing(FolderListing(folder, "*.dll"));
}

void PluginIterator::QueueListing(const FolderListing& listing) {
  for (int i = 0; i < listing.SubFolderCount(); ++i) QueueListing(listing.SubFolder(i));
  for (int i = 0; i < listing.FileCount(); ++i) Queue(listing.Folder() + listing.FileName(i));
}

void PluginIterator::Queue(const std::string& path) {
  freeSlots_.Wait();
  {
    ScopedLock hold(queueLock_);
    queue_.push_back(path);
  }
  filledSlots_.Signal();
}

std::string PluginIterator::Take() {
  filledSlots_.Wait();
  std::string path;
  {
    ScopedLock hold(queueLock_);
    if (queue_.empty()) return path;  // the stop's wake-up
    path = std::move(queue_.front());
    queue_.pop_front();
  }
  freeSlots_.Signal();
  return path;
}

int PluginIterator::Run() {
  while (running_) Probe(Take());
  return 0;
}

void PluginIterator::ProbeSucceeded(int client) {
  ScopedLock hold(answerLock_);
  // An answer that comes when no probe program runs, or on a connection made before the current
  // one started (a late answer of an earlier, killed probe program), is not the current probe's.
  if (probing_ && client >= firstAnswerClient_) failed_ = false;
}

void PluginIterator::FenceReceived(int client) {
  ScopedLock hold(answerLock_);
  firstAnswerClient_ = std::max(firstAnswerClient_, client + 1);
}

void PluginIterator::FenceEarlierAnswers() {
  // Another program holding the port would get the fence, and no answer reaches us anyway.
  if (connection_.IsOpen())
    SendProbeAnswer(port_, {std::string(ProbeProtocol::kFence, sizeof ProbeProtocol::kFence)});
}

void PluginIterator::Probe(const std::string& path) {
  ScopedLock hold(scannerLock_);
  if (!running_ || path.empty()) return;
  ScanningPlugin(path);
  Sleep(kBeforeProbeSleepMs);
  auto& settings = *configuration_;
  const std::string plugin = settings.ElementPathWithAttribute(kPluginElements, "Filename", path, true);
  if (!settings.GetBool(plugin + "Rescan")) return;

  const std::uint16_t machine = PeMachine(path);
  const bool failed = !CanProbe(machine) || !RunProbeProgram(path);
  settings.SetBool(plugin + "Rescan", !running_);
  settings.SetString(plugin + "AsyncReady", "false");
  settings.SetBool(plugin + "Failed", failed);
  settings.SetBool(plugin + "x64", Is64BitMachine(machine));
  settings.SetString(plugin + "Hidden", "false");
  settings.SetEmpty(plugin + "Arranger");
}

bool PluginIterator::RunProbeProgram(const std::string& path) {
  FenceEarlierAnswers();
  {
    ScopedLock hold(answerLock_);
    probing_ = true;
    failed_ = true;
  }
  {
    ProbeProcess probe(probeProgram_, Quoted(path) + " " + Quoted(std::to_string(port_)));
    for (int wait = 0; wait < kProbeWaits && running_; ++wait) {
      if (probe.WaitForEnd(kProbeWaitMs)) break;
    }
    probe.CloseWindows();
    if (!probe.WaitForEnd(kCloseWaitMs)) probe.Terminate();
  }
  ScopedLock hold(answerLock_);
  probing_ = false;
  return !failed_;
}

}  // namespace Ombix::Kelvane
