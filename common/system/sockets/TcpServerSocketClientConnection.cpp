#include <winsock2.h>

#include "common/system/sockets/TcpServerSocketClientConnection.h"

#include "common/system/sockets/SocketWait.h"
#include "common/system/sockets/TcpServerSocket.h"

namespace Common::System::Sockets {
namespace {

// How long the thread may take to notice that it was stopped.
constexpr int kStopLatencyMs = 100;

}  // namespace

TcpServerSocketClientConnection::TcpServerSocketClientConnection(int number, TcpServerSocket* owner,
                                                                 std::uintptr_t socket)
    : buffer_(), owner_(owner), socket_(socket), number_(number), running_(true) {
  SetName("TCP server client connection");
}

TcpServerSocketClientConnection::~TcpServerSocketClientConnection() {
  Stop();
  if (!IsStarted()) Start();  // a connection closed before it started runs its (now empty) loop once
  // The server never deletes a connection on its own thread. The socket is closed only once the
  // thread is gone, so its handle cannot be reused by another socket under a receive in progress.
  if (!IsCurrentThread()) WaitForEnd();
  closesocket(socket_);
}

int TcpServerSocketClientConnection::Run() {
  owner_->ServeOnThisThread();
  while (running_) {
    const SocketWait wait = WaitUntilReadable(socket_, kStopLatencyMs);
    if (wait == SocketWait::TimedOut) continue;
    if (wait == SocketWait::Failed) break;
    const int count = recv(socket_, buffer_, kBufferSize - 1, 0);
    if (count <= 0) break;
    buffer_[count] = '\0';
    owner_->OnReceive(number_, buffer_, count);
  }
  // Gone on the client's side: the server forgets this connection. When the server stopped it,
  // the server has already done so.
  if (running_) owner_->CloseClient(number_);
  return 0;
}

void TcpServerSocketClientConnection::Stop() {
  running_ = false;
  shutdown(socket_, SD_BOTH);  // the client sees the end at once
}

bool TcpServerSocketClientConnection::Send(const char* data, int length) {
  while (length > 0) {
    const int sent = send(socket_, data, length, 0);
    if (sent == SOCKET_ERROR || sent == 0) return false;
    data += sent;
    length -= sent;
  }
  return true;
}

}  // namespace Common::System::Sockets
