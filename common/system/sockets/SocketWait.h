#pragma once

#include <cstdint>

namespace Common::System::Sockets {

enum class SocketWait { Ready, TimedOut, Failed };

// Waits at most milliseconds until the socket has something to read (data, the peer's end, or a
// client to accept). The server's threads wait in short slices of this, so they notice a stop without
// the socket being closed under them.
SocketWait WaitUntilReadable(std::uintptr_t socket, int milliseconds);
// Waits at most milliseconds until the socket takes more bytes to send.
SocketWait WaitUntilWritable(std::uintptr_t socket, int milliseconds);

}  // namespace Common::System::Sockets
