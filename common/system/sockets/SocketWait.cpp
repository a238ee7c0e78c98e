#include <winsock2.h>

#include "common/system/sockets/SocketWait.h"

namespace Common::System::Sockets {
namespace {

enum class Direction { Reading, Writing };

SocketWait WaitUntil(Direction direction, std::uintptr_t socket, int milliseconds) {
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(static_cast<SOCKET>(socket), &ready);
  timeval timeout;
  timeout.tv_sec = milliseconds / 1000;
  timeout.tv_usec = (milliseconds % 1000) * 1000;
  const bool reading = direction == Direction::Reading;
  const int result = select(0, reading ? &ready : nullptr, reading ? nullptr : &ready, nullptr, &timeout);
  if (result == SOCKET_ERROR) return SocketWait::Failed;
  return result == 0 ? SocketWait::TimedOut : SocketWait::Ready;
}

}  // namespace

SocketWait WaitUntilReadable(std::uintptr_t socket, int milliseconds) {
  return WaitUntil(Direction::Reading, socket, milliseconds);
}

SocketWait WaitUntilWritable(std::uintptr_t socket, int milliseconds) {
  return WaitUntil(Direction::Writing, socket, milliseconds);
}

}  // namespace Common::System::Sockets
