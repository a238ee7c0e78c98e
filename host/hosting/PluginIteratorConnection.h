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
  // succeeded; anything else, and anything after those two bytes, is ignored. The two bytes may
  // arrive in separate pieces.
  void OnReceive(int client, const char* data, int length) override;

 private:
  PluginIterator* scanner_;
  Common::System::Threading::CriticalSection lock_;
  std::map<int, std::string> starts_;  // up to the first two bytes of each client
};

}  // namespace Ombix::Kelvane
