#include <winsock2.h>

#include "host/hosting/ProbeAnswer.h"

#include <cstring>

#include "common/system/sockets/WinSocketBase.h"
#include "host/hosting/ProbeProtocol.h"

namespace Ombix::Kelvane {
namespace {

constexpr DWORD kCloseWaitMs = 5000;
constexpr DWORD kPauseBetweenPiecesMs = 200;

bool SendAll(SOCKET connection, const std::string& bytes) {
  const char* data = bytes.data();
  int left = static_cast<int>(bytes.size());
  while (left > 0) {
    const int sent = send(connection, data, left, 0);
    if (sent == SOCKET_ERROR || sent == 0) return false;
    data += sent;
    left -= sent;
  }
  return true;
}

}  // namespace

bool SendProbeAnswer(unsigned short port, const std::vector<std::string>& pieces) {
  Common::System::Sockets::WinSocketBase winsock;
  const SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (connection == INVALID_SOCKET) return false;
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = inet_addr(ProbeProtocol::kAddress);
  address.sin_port = htons(port);
  bool sent = connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  for (size_t i = 0; sent && i < pieces.size(); ++i) {
    if (i > 0) Sleep(kPauseBetweenPiecesMs);  // separate pieces reach the scanner as separate receipts
    sent = SendAll(connection, pieces[i]);
  }
  if (sent) {
    shutdown(connection, SD_SEND);
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&kCloseWaitMs),
               sizeof kCloseWaitMs);
    char ignored[64];
    while (recv(connection, ignored, sizeof ignored, 0) > 0) {
    }
  }
  closesocket(connection);
  return sent;
}

}  // namespace Ombix::Kelvane
