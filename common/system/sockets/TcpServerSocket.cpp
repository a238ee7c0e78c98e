#include <winsock2.h>

#include "common/system/sockets/TcpServerSocket.h"

#include "common/system/sockets/SocketWait.h"
#include "common/system/sockets/TcpServerSocketClientConnection.h"
#include "common/system/threading/ScopedLock.h"
#include "common/system/threading/Thread.h"

#include <cstring>
#include <utility>

namespace Common::System::Sockets {

using Threading::ScopedLock;

namespace {

// How long the listener may take to notice that the server is closing.
constexpr int kStopLatencyMs = 100;

bool AreBytes(const char* data, int length) {
  return length >= 0 && (data || length == 0);
}

}  // namespace

// The listener thread: accepts clients until the server closes.
class TcpServerSocket::Listener : public Threading::Thread {
 public:
  explicit Listener(TcpServerSocket& server) : server_(server) { SetName("TCP server connection listener"); }
  ~Listener() override { WaitForEnd(); }
  int Run() override { return server_.ListenLoop(); }

 private:
  TcpServerSocket& server_;
};

TcpServerSocket::TcpServerSocket()
    : open_(false), closing_(false), listeningSocket_(INVALID_SOCKET), clientCount_(0) {}

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
  if (bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR ||
      listen(listening, 1) == SOCKET_ERROR) {
    closesocket(listening);
    return false;
  }
  listeningSocket_ = listening;
  closing_ = false;
  open_ = true;
  // A fresh listener for every opening, so a server can be opened again after it was closed.
  listener_ = std::make_unique<Listener>(*this);
  listener_->Start();
  return true;
}

bool TcpServerSocket::IsOpen() const {
  return open_;
}

int TcpServerSocket::ListenLoop() {
  while (!closing_ && listen(listeningSocket_, 4) != SOCKET_ERROR) {
    const SocketWait wait = WaitUntilReadable(listeningSocket_, kStopLatencyMs);
    if (wait == SocketWait::Failed) break;
    if (wait == SocketWait::TimedOut) continue;
    const SOCKET client = accept(listeningSocket_, nullptr, nullptr);
    if (client != INVALID_SOCKET) {
      Accept(client);
    } else if (closing_ || WSAGetLastError() != WSAECONNRESET) {
      break;  // closed, or broken beyond a client that gave up before it was accepted
    }
    DeleteFinishedClients();
  }
  return 0;
}

void TcpServerSocket::Accept(std::uintptr_t socket) {
  // In the map before OnConnect, so the client can be sent to as soon as it is announced.
  int number;
  TcpServerSocketClientConnection* connection;
  {
    ScopedLock hold(clientsLock_);
    number = static_cast<int>(clientCount_++);
    connection = new TcpServerSocketClientConnection(number, this, socket);
    clients_[number] = connection;
  }
  const bool accepted = OnConnect(number);
  {
    ScopedLock hold(clientsLock_);
    if (clients_.count(number) == 0) return;  // already closed meanwhile
    if (accepted) {
      connection->Start();
      return;
    }
  }
  CloseClient(number);
}

void TcpServerSocket::CloseClient(int client) {
  std::vector<TcpServerSocketClientConnection*> closed;
  {
    ScopedLock hold(clientsLock_);
    const auto found = clients_.find(client);
    if (found == clients_.end()) return;
    closed.push_back(found->second);
    clients_.erase(found);
  }
  DeleteClients(closed);
}

void TcpServerSocket::DeleteClients(const std::vector<TcpServerSocketClientConnection*>& connections) {
  for (auto* connection : connections) connection->Stop();  // all of them end meanwhile
  for (auto* connection : connections) {
    if (connection->IsOwnThread()) {
      // A connection cannot wait for its own thread: it ends by itself and is deleted later.
      ScopedLock hold(clientsLock_);
      finishedClients_.push_back(connection);
    } else {
      delete connection;
    }
  }
}

void TcpServerSocket::DeleteFinishedClients() {
  std::vector<TcpServerSocketClientConnection*> finished;
  {
    ScopedLock hold(clientsLock_);
    finished.swap(finishedClients_);
  }
  DeleteClients(finished);
}

void TcpServerSocket::Close() {
  if (open_) {
    closing_ = true;
    listener_.reset();  // waits for the listener thread
    closesocket(listeningSocket_);
    listeningSocket_ = INVALID_SOCKET;
    std::vector<TcpServerSocketClientConnection*> clients;
    {
      ScopedLock hold(clientsLock_);
      for (const auto& entry : clients_) clients.push_back(entry.second);
      clients_.clear();
      clientCount_ = 0;
    }
    DeleteClients(clients);
    open_ = false;
  }
  DeleteFinishedClients();
}

bool TcpServerSocket::Send(int client, const std::string& text) {
  return Send(client, text.data(), static_cast<int>(text.size()));
}

bool TcpServerSocket::Send(int client, const char* data, int length) {
  if (!AreBytes(data, length)) return false;
  // Held while sending, so the connection cannot be deleted meanwhile.
  ScopedLock hold(clientsLock_);
  const auto found = clients_.find(client);
  return found != clients_.end() && found->second->Send(data, length);
}

bool TcpServerSocket::Broadcast(const std::string& text) {
  return Broadcast(text.c_str(), static_cast<int>(text.size()) + 1);
}

bool TcpServerSocket::Broadcast(const char* data, int length) {
  // Every connected client gets the bytes, also after one of them failed; clients that have gone
  // are no longer in the map and do not count.
  if (!AreBytes(data, length)) return false;
  ScopedLock hold(clientsLock_);
  bool allSent = true;
  for (const auto& entry : clients_) allSent = entry.second->Send(data, length) && allSent;
  return allSent;
}

}  // namespace Common::System::Sockets
