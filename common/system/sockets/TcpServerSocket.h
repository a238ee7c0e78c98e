#pragma once

#include "common/system/sockets/IServerSocket.h"
#include "common/system/sockets/WinSocketBase.h"
#include "common/system/threading/CriticalSection.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Common::System::Sockets {

class TcpServerSocketClientConnection;

// A TCP server: listens on one IPv4 address and port, accepts clients on its own listener thread
// and receives from each client on a thread of that client, handing the bytes to OnReceive.
// Clients are numbered from 0 in the order of acceptance; a number is not reused until the server
// is closed. A derived class that overrides OnReceive or OnConnect calls Close in its own destructor,
// so that no server thread calls into it once it is gone.
class TcpServerSocket : public IServerSocket, public WinSocketBase {
 public:
  TcpServerSocket();
  ~TcpServerSocket() override;

  // Accepts every client.
  bool OnConnect(int client) override;

  // Closes first, then listens on host (dotted IPv4) and port. False, and closed, when host is no
  // such address, the socket cannot be made, the address or port cannot be taken (also when another
  // socket holds it) or listening fails.
  virtual bool Open(const std::string& host, unsigned short port);
  virtual bool IsOpen() const;
  // Ends client number client and forgets it; nothing when there is no such client. May be called
  // from the server's own threads, also from OnReceive.
  virtual void CloseClient(int client);
  // Stops listening and ends every client; waits for the server's threads (except the caller's own).
  virtual void Close();

  // The text's characters without a terminating zero.
  bool Send(int client, const std::string& text);
  // False when client number client is not connected or sending fails.
  virtual bool Send(int client, const char* data, int length);
  // The text's characters and its terminating zero.
  bool Broadcast(const std::string& text);
  // Sends to every connected client in the order of their numbers; true when every send succeeded.
  virtual bool Broadcast(const char* data, int length);

 private:
  class Listener;
  friend class Listener;

  int ListenLoop();
  void Accept(std::uintptr_t socket);
  // Deletes connections already taken out of the map; one on the caller's own thread is stopped
  // and kept among the finished ones instead.
  void DeleteClients(const std::vector<TcpServerSocketClientConnection*>& connections);
  // Deletes the connections whose threads have ended or are ending on their own.
  void DeleteFinishedClients();

  std::atomic<bool> open_;
  std::atomic<bool> closing_;
  std::uintptr_t listeningSocket_;
  std::unique_ptr<Listener> listener_;
  Threading::CriticalSection clientsLock_;  // guards the three members below
  std::map<int, TcpServerSocketClientConnection*> clients_;
  std::vector<TcpServerSocketClientConnection*> finishedClients_;
  unsigned int clientCount_;  // also the next client's number
};

}  // namespace Common::System::Sockets
