#pragma once

#include <map>
#include <string>

#include "common/system/sockets/TcpServerSocket.h"
#include "common/system/threading/CriticalSection.h"

namespace Ombix::Kelvane {

class PluginIterator;

// The scanner's server for the probe programs' answers.
class PluginIteratorConnection : public Common::System::Sockets::TcpServerSocket {
 public:
  explicit PluginIteratorConnection(PluginIterator* scanner) : scanner_(scanner) {}
  ~PluginIteratorConnection() override;

  // A client whose first two bytes are the success message tells the scanner that its probe
  // succeeded, the fence that the scanner's fence has arrived; anything else is ignored. The two bytes may
  // arrive in separate pieces; once they are in, the client is closed.
  void OnReceive(int client, const char* data, int length) override;

 private:
  PluginIterator* scanner_;
  Common::System::Threading::CriticalSection lock_;
  std::map<int, std::string> starts_;  // the first bytes of each client, until there are two
};

}  // namespace Ombix::Kelvane
