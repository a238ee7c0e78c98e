#include <winsock2.h>

#include "common/system/sockets/TcpServerSocketClientConnection.h"

#include "common/system/sockets/SocketWait.h"
#include "common/system/sockets/TcpServerSocket.h"
#include "common/system/threading/ScopedLock.h"

namespace Common::System::Sockets {
namespace {

// How long the thread, or a send, may take to notice that the connection was stopped.
constexpr int kStopLatencyMs = 100;

}  // namespace

TcpServerSocketClientConnection::TcpServerSocketClientConnection(int number, TcpServerSocket* owner,
                                                                 std::uintptr_t socket)
    : buffer_(), owner_(owner), socket_(socket), number_(number), running_(true) {
  SetName("TCP server client connection");
  // A send never blocks: it waits for the client in slices, so that a stop ends it.
  u_long nonBlocking = 1;
  ioctlsocket(socket_, FIONBIO, &nonBlocking);
}

TcpServerSocketClientConnection::~TcpServerSocketClientConnection() {
  Stop();
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
  if (!IsStarted()) Start();
}

bool TcpServerSocketClientConnection::Send(const char* data, int length) {
  Threading::ScopedLock hold(sending_);
  while (length > 0) {
    if (!running_) return false;
    const int sent = send(socket_, data, length, 0);
    if (sent > 0) {
      data += sent;
      length -= sent;
    } else if (sent == 0 || WSAGetLastError() != WSAEWOULDBLOCK ||
               WaitUntilWritable(socket_, kStopLatencyMs) == SocketWait::Failed) {
      return false;
    }
  }
  return true;
}

}  // namespace Common::System::Sockets
