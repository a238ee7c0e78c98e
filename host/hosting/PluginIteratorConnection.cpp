#include "host/hosting/PluginIteratorConnection.h"

#include <algorithm>

#include "common/system/threading/ScopedLock.h"
#include "host/hosting/PluginIterator.h"
#include "host/hosting/ProbeProtocol.h"

namespace Ombix::Kelvane {

PluginIteratorConnection::~PluginIteratorConnection() {
  Close();
}

void PluginIteratorConnection::OnReceive(int client, const char* data, int length) {
  const std::string message(ProbeProtocol::kSucceeded, sizeof ProbeProtocol::kSucceeded);
  const std::string fence(ProbeProtocol::kFence, sizeof ProbeProtocol::kFence);
  std::string start;
  {
    Common::System::Threading::ScopedLock hold(lock_);
    std::string& soFar = starts_[client];
    soFar.append(data, std::min<size_t>(std::max(length, 0), message.size() - soFar.size()));
    if (soFar.size() < message.size()) return;
    start = soFar;
    starts_.erase(client);
  }
  if (start == message) scanner_->ProbeSucceeded(client);
  if (start == fence) scanner_->FenceReceived(client);
  // Decided: whatever else the client sends is of no interest, and a probe program waiting for the
  // end of the connection may finish.
  CloseClient(client);
}

}  // namespace Ombix::Kelvane
