#pragma once

#include <boost/signals2/signal.hpp>

#include <atomic>
#include <list>
#include <string>

#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/Semaphore.h"
#include "common/system/threading/Thread.h"
#include "host/hosting/PluginIteratorConnection.h"
#include "host/hosting/ProbeProtocol.h"

namespace Common::Config {
class Configuration;
}

namespace Ombix::Kelvane {

class FolderListing;

// The plug-in scanner. Scan queues every DLL below a folder; the scanner's thread probes them one
// at a time. A DLL the host can load is handed to a separate probe program, started hidden with the
// DLL's path and the scanner's port, which loads the plug-in in its own process and answers over
// TCP on the loopback address; a probe program that hangs is closed and, if need be, killed. So a
// plug-in that hangs or crashes cannot take the host down. The results go into the configuration,
// one "PluginSystem/PluginInfo/Plugin" element per DLL.
class PluginIterator : public Common::System::Threading::Thread {
 public:
  static constexpr int kQueueSize = 2048;
  static constexpr int kProbeWaits = 15;        // waits for the probe program to end...
  static constexpr DWORD kProbeWaitMs = 1000;   // ...of this long each
  static constexpr DWORD kCloseWaitMs = 10000;  // after its windows were asked to close
  static constexpr DWORD kBeforeProbeSleepMs = 20;

  // Opens the server for the answers on port (0: any free port) and starts the thread. The
  // configuration is not owned; it is written on the scanner's thread.
  PluginIterator(std::string probeProgram, Common::Config::Configuration* configuration,
                 unsigned short port = ProbeProtocol::kPort);
  // Stops after the probe in progress (closing its probe program early); paths still queued are left.
  ~PluginIterator() override;

  // Queues the DLLs below folder: each sub-folder's content (recursively) before the folder's own
  // files. Waits while the queue is full.
  void Scan(const std::string& folder);

  int Run() override;
  // The port the probe programs are given: the one the server listens on.
  unsigned short Port() const { return port_; }

  // From the server: client number client reported success; it counts only for the probe now
  // running, and only when the client was accepted after that probe began.
  void ProbeSucceeded(int client);
  // From the server: the scanner's own fence arrived on client number client.
  void FenceReceived(int client);

  // On the scanner's thread, with the path about to be probed.
  boost::signals2::signal<void(const std::string& path)> ScanningPlugin;

 private:
  void QueueListing(const FolderListing& listing);
  void Queue(const std::string& path);
  std::string Take();
  void Probe(const std::string& path);
  // Runs the probe program for path; true when it reported success in time.
  bool RunProbeProgram(const std::string& path);
  // Sends the fence and returns once the server has taken it.
  void FenceEarlierAnswers();

  std::list<std::string> queue_;
  Common::System::Threading::Semaphore filledSlots_;
  Common::System::Threading::Semaphore freeSlots_;
  Common::System::Threading::CriticalSection queueLock_;
  Common::System::Threading::CriticalSection scannerLock_;  // held for a whole probe
  Common::System::Threading::CriticalSection answerLock_;   // guards the three members below
  bool probing_;
  bool failed_;
  int firstAnswerClient_;  // clients with lower numbers connected before the current probe
  std::string probeProgram_;
  std::atomic<bool> running_;
  unsigned short port_;
  Common::Config::Configuration* configuration_;
  PluginIteratorConnection connection_;
};

}  // namespace Ombix::Kelvane
