#include <winsock2.h>

#include "common/system/sockets/SocketWait.h"

namespace Common::System::Sockets {

SocketWait WaitUntilReadable(std::uintptr_t socket, int milliseconds) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(static_cast<SOCKET>(socket), &readable);
  timeval timeout;
  timeout.tv_sec = milliseconds / 1000;
  timeout.tv_usec = (milliseconds % 1000) * 1000;
  const int result = select(0, &readable, nullptr, nullptr, &timeout);
  if (result == SOCKET_ERROR) return SocketWait::Failed;
  return result == 0 ? SocketWait::TimedOut : SocketWait::Ready;
}

}  // namespace Common::System::Sockets
