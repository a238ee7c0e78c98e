#include <winsock2.h>

#include "common/system/sockets/TcpServerSocket.h"

#include "common/system/sockets/SocketWait.h"
#include "common/system/sockets/TcpServerSocketClientConnection.h"
#include "common/system/threading/ScopedLock.h"
#include "common/system/threading/Thread.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace Common::System::Sockets {

using Threading::ScopedLock;

namespace {

// How long the listener may take to notice that it was stopped.
constexpr int kStopLatencyMs = 100;

// Every thread's slot for the server whose listener or client connection runs on it, if any.
const DWORD servedByThisThread = TlsAlloc();

bool AreBytes(const char* data, int length) {
  return length >= 0 && (data || length == 0);
}

}  // namespace

// The listener thread of one opening: accepts clients on its socket until it is stopped.
class TcpServerSocket::Listener : public Threading::Thread {
 public:
  Listener(TcpServerSocket& server, std::uintptr_t socket)
      : server_(server), socket_(socket), stopping_(false) {
    SetName("TCP server connection listener");
  }
  // Never called on the listener's own thread: waits for it, then closes the socket.
  ~Listener() override {
    Stop();
    WaitForEnd();
    CloseSocket();
  }
  int Run() override { return server_.ListenLoop(*this); }

  std::uintptr_t Socket() const { return socket_; }
  void Stop() { stopping_ = true; }
  bool IsStopping() const { return stopping_; }
  // Closed once the thread no longer uses it: after it ended, or by the thread itself.
  void CloseSocket() {
    if (socket_ == INVALID_SOCKET) return;
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }

 private:
  TcpServerSocket& server_;
  std::uintptr_t socket_;
  std::atomic<bool> stopping_;
};

TcpServerSocket::TcpServerSocket() : open_(false), closeUnderWay_(false), clientCount_(0), port_(0) {}

TcpServerSocket::~TcpServerSocket() {
  TcpServerSocket::Close();
}

bool TcpServerSocket::OnConnect(int) {
  return true;
}

bool TcpServerSocket::Open(const std::string& host, unsigned short port) {
  Close();
  // inet_addr answers INADDR_NONE for a text that is no address; that is never a place to listen.
  const unsigned long hostAddress = inet_addr(host.c_str());
  if (hostAddress == INADDR_NONE) return false;
  const SOCKET listening = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listening == INVALID_SOCKET) return false;
  // No other socket may take over this port while the server holds it.
  const BOOL exclusive = TRUE;
  setsockopt(listening, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
             sizeof exclusive);
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = hostAddress;
  address.sin_port = htons(port);
  int length = sizeof address;
  if (bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR ||
      listen(listening, 1) == SOCKET_ERROR ||
      getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length) == SOCKET_ERROR) {
    closesocket(listening);
    return false;
  }
  // A fresh listener for every opening, so a server can be opened again after it was closed.
  ScopedLock hold(lock_);
  if (closeUnderWay_) {
    closesocket(listening);
    return false;
  }
  port_ = ntohs(address.sin_port);
  listener_ = std::make_unique<Listener>(*this, listening);
  listener_->Start();
  open_ = true;
  return true;
}

bool TcpServerSocket::IsOpen() const {
  return open_;
}

unsigned short TcpServerSocket::Port() const {
  return port_;
}

int TcpServerSocket::ListenLoop(Listener& listener) {
  ServeOnThisThread();
  const SOCKET listening = listener.Socket();
  while (!listener.IsStopping() && listen(listening, 4) != SOCKET_ERROR) {
    const SocketWait wait = WaitUntilReadable(listening, kStopLatencyMs);
    if (wait == SocketWait::Failed) break;
    if (wait == SocketWait::Ready) {
      const SOCKET client = accept(listening, nullptr, nullptr);
      if (client != INVALID_SOCKET) {
        Accept(listener, client);
      } else if (listener.IsStopping() || WSAGetLastError() != WSAECONNRESET) {
        break;  // stopped, or broken beyond a client that gave up before it was accepted
      }
    }
    // Also while nobody connects: a client that left has its socket closed soon.
    DeleteEndedClients();
  }
  return 0;
}

void TcpServerSocket::Accept(Listener& listener, std::uintptr_t socket) {
  // In the map before OnConnect, so the client can be sent to as soon as it is announced.
  int number;
  std::shared_ptr<Connection> connection;
  {
    ScopedLock hold(lock_);
    if (listener.IsStopping()) {
      closesocket(socket);
      return;
    }
    number = static_cast<int>(clientCount_++);
    connection = std::make_shared<Connection>(number, this, socket);
    clients_[number] = connection;
  }
  const bool accepted = OnConnect(number);
  {
    ScopedLock hold(lock_);
    // Closed meanwhile, also from OnConnect: the connection has gone with the others.
    if (listener.IsStopping() || clients_.count(number) == 0) return;
    if (accepted) {
      connection->Start();
      return;
    }
  }
  CloseClient(number);
}

void TcpServerSocket::ServeOnThisThread() const {
  TlsSetValue(servedByThisThread, const_cast<TcpServerSocket*>(this));
}

bool TcpServerSocket::IsServerThread() const {
  return TlsGetValue(servedByThisThread) == this;
}

void TcpServerSocket::OnClientClosed(int) {}

void TcpServerSocket::CloseClient(int client) {
  std::shared_ptr<Connection> closed;
  {
    ScopedLock hold(lock_);
    const auto found = clients_.find(client);
    if (found == clients_.end()) return;
    closed = found->second;
    clients_.erase(found);
    // In the same hold: Close must find the connection either among the clients or the retired.
    Retire(closed);
  }
  OnClientClosed(client);
  if (IsServerThread()) return;
  closed->WaitForEnd();
  DeleteEndedClients();
}

void TcpServerSocket::Retire(const std::shared_ptr<Connection>& connection) {
  connection->Stop();
  retiredClients_.push_back(connection);
}

void TcpServerSocket::DeleteEndedClients() {
  Connections ended;
  {
    ScopedLock hold(lock_);
    const auto running = std::partition(retiredClients_.begin(), retiredClients_.end(),
                                        [](const auto& connection) { return connection->HasEnded(); });
    ended.assign(retiredClients_.begin(), running);
    retiredClients_.erase(retiredClients_.begin(), running);
  }
  // Deleted here, outside the lock, unless a sender still holds one: then when its send returns.
}

std::unique_ptr<TcpServerSocket::Listener> TcpServerSocket::StopEverything() {
  std::unique_ptr<Listener> listener = std::move(listener_);
  if (listener) {
    listener->Stop();
    if (listener->IsCurrentThread()) {
      // Called from OnConnect: the listener ends once OnConnect returns. Its port is free at once,
      // so that Open may take it again.
      listener->CloseSocket();
      retiredListeners_.push_back(std::move(listener));
    }
  }
  for (const auto& entry : clients_) Retire(entry.second);
  clients_.clear();
  clientCount_ = 0;
  port_ = 0;
  open_ = false;
  return listener;
}

void TcpServerSocket::Close() {
  if (IsServerThread()) {
    std::unique_ptr<Listener> listener;
    {
      ScopedLock hold(lock_);
      listener = StopEverything();
    }
    listener.reset();  // waits for the listener thread, then closes its socket
    return;
  }
  ScopedLock closing(closing_);
  std::vector<std::unique_ptr<Listener>> listeners;
  Connections connections;
  {
    ScopedLock hold(lock_);
    closeUnderWay_ = true;
    listeners.push_back(StopEverything());
    listeners.insert(listeners.end(), std::make_move_iterator(retiredListeners_.begin()),
                     std::make_move_iterator(retiredListeners_.end()));
    retiredListeners_.clear();
    connections.swap(retiredClients_);
  }
  // Everything has stopped before anything is waited for: a thread that sends to a client that
  // reads nothing has had its send ended, whether it is a client's thread or the listener.
  listeners.clear();  // waits for each, then closes its socket
  for (const auto& connection : connections) connection->WaitForEnd();
  connections.clear();
  ScopedLock hold(lock_);
  closeUnderWay_ = false;
}

std::shared_ptr<TcpServerSocket::Connection> TcpServerSocket::Find(int client) {
  ScopedLock hold(lock_);
  const auto found = clients_.find(client);
  return found == clients_.end() ? nullptr : found->second;
}

bool TcpServerSocket::Send(int client, const std::string& text) {
  return Send(client, text.data(), static_cast<int>(text.size()));
}

bool TcpServerSocket::Send(int client, const char* data, int length) {
  if (!AreBytes(data, length)) return false;
  const auto connection = Find(client);
  return connection && connection->Send(data, length);
}

bool TcpServerSocket::Broadcast(const std::string& text) {
  return Broadcast(text.c_str(), static_cast<int>(text.size()) + 1);
}

bool TcpServerSocket::Broadcast(const char* data, int length) {
  // Every client gets the bytes, also after one of them failed; clients that have gone are no
  // longer in the map and do not count.
  if (!AreBytes(data, length)) return false;
  Connections connections;
  {
    ScopedLock hold(lock_);
    for (const auto& entry : clients_) connections.push_back(entry.second);
  }
  bool allSent = true;
  for (const auto& connection : connections) allSent = connection->Send(data, length) && allSent;
  return allSent;
}

}  // namespace Common::System::Sockets
