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
  bool succeeded = false;
  {
    Common::System::Threading::ScopedLock hold(lock_);
    std::string& start = starts_[client];
    if (start.size() >= message.size() || length <= 0) return;
    start.append(data, std::min<size_t>(length, message.size() - start.size()));
    succeeded = start == message;
  }
  if (succeeded) scanner_->ProbeSucceeded();
}

}  // namespace Ombix::Kelvane
