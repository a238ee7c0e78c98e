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
  // from the server's own threads, also from OnConnect and OnReceive.
  virtual void CloseClient(int client);
  // Stops listening and ends every client. Called from any other thread, it returns once every
  // thread of the server has ended. Called from the server's own threads (OnConnect, OnReceive;
  // several at once too) it waits for none of the client threads: they end on their own and are
  // deleted later. Open may be called from those threads as well.
  virtual void Close();

  // The text's characters without a terminating zero.
  bool Send(int client, const std::string& text);
  // False when client number client is not connected or sending fails.
  virtual bool Send(int client, const char* data, int length);
  // The text's characters and its terminating zero.
  bool Broadcast(const std::string& text);
  // Sends to every connected client in the order of their numbers; true when every send succeeded.
  virtual bool Broadcast(const char* data, int length);

 protected:
  // Called on the thread that closed client number client (the client's own when the client left),
  // once the client is out of the server and before its connection has ended. Does nothing here.
  virtual void OnClientClosed(int client);

 private:
  class Listener;
  friend class Listener;
  friend class TcpServerSocketClientConnection;
  using Connection = TcpServerSocketClientConnection;

  int ListenLoop(Listener& listener);
  void Accept(Listener& listener, std::uintptr_t socket);
  // Marks the calling thread as one of this server's own: the listener's or a client's.
  void ServeOnThisThread() const;
  // True on the server's own threads. They never wait for a client thread, so that two of them
  // can never wait for each other; only the listener is waited for, which waits for nobody.
  bool IsServerThread() const;
  // Under lock_: stops a connection and keeps it until its thread has ended.
  void Retire(Connection* connection);
  // Deletes the retired connections whose threads have ended, without waiting for any.
  void DeleteEndedClients();
  static void Delete(const std::vector<Connection*>& connections);

  std::atomic<bool> open_;
  // Guards the members below. A thread that stops a connection or a listener takes it out of these
  // members in the same hold in which it lists it for deletion, so that Close never misses one.
  Threading::CriticalSection lock_;
  std::unique_ptr<Listener> listener_;
  // Listeners stopped from their own thread (Close or Open called in OnConnect), until they end.
  std::vector<std::unique_ptr<Listener>> retiredListeners_;
  std::map<int, Connection*> clients_;
  // Connections stopped on the server's own threads, until their threads have ended.
  std::vector<Connection*> retiredClients_;
  unsigned int clientCount_;  // also the next client's number
  std::atomic<unsigned short> port_;
};

}  // namespace Common::System::Sockets
