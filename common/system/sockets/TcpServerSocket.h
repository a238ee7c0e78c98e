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

  // Closes first, then listens on host (dotted IPv4) and port; port 0 takes any free port (see
  // Port). False, and closed, when host is no such address, the socket cannot be made, the address
  // or port cannot be taken (also when another socket holds it) or listening fails.
  virtual bool Open(const std::string& host, unsigned short port);
  virtual bool IsOpen() const;
  // The port the server listens on, also when the system chose it; 0 while closed.
  unsigned short Port() const;
  // Ends client number client and forgets it; nothing when there is no such client. May be called
  // from the server's own threads, also from OnReceive.
  virtual void CloseClient(int client);
  // Stops listening and ends every client; waits for the server's threads (except the caller's own,
  // so it may be called from OnConnect and OnReceive too; Open may be called from OnConnect).
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
  using Connection = TcpServerSocketClientConnection;

  int ListenLoop(Listener& listener);
  void Accept(Listener& listener, std::uintptr_t socket);
  // Under lock_: moves the caller's own connection out of connections into the finished ones,
  // stopped: a thread cannot wait for itself, so it ends on its own and is deleted later.
  void KeepOwnConnection(std::vector<Connection*>& connections);
  // Deletes the connections whose threads have ended or are ending on their own.
  void DeleteFinishedClients();
  // Deletes the listeners stopped on their own thread, but the caller's.
  void DeleteRetiredListeners();
  static void Delete(const std::vector<Connection*>& connections);

  std::atomic<bool> open_;
  // Guards the members below. A thread that stops a connection or a listener takes it out of these
  // members in the same hold in which it lists it for deletion, so that Close never misses one.
  Threading::CriticalSection lock_;
  std::unique_ptr<Listener> listener_;
  // Listeners stopped from their own thread (Close or Open called in OnConnect), until they end.
  std::vector<std::unique_ptr<Listener>> retiredListeners_;
  std::map<int, Connection*> clients_;
  std::vector<Connection*> finishedClients_;
  unsigned int clientCount_;  // also the next client's number
  std::atomic<unsigned short> port_;
};

}  // namespace Common::System::Sockets
