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
// so that no server thread calls into it once it is gone. The server's lock is never held while
// sending or while a handler runs, so a client that reads nothing holds up only the sends to it,
// and those only until it is closed.
class TcpServerSocket : public IServerSocket, public WinSocketBase {
 public:
  TcpServerSocket();
  ~TcpServerSocket() override;

  // Accepts every client.
  bool OnConnect(int client) override;

  // Closes first, then listens on host (dotted IPv4) and port; port 0 takes any free port (see
  // Port). False, and closed, when host is no such address, the socket cannot be made, the address
  // or port cannot be taken (also when another socket holds it) or listening fails, and when a Close
  // on another thread is under way (that Close ends whatever opens meanwhile, so nothing does).
  virtual bool Open(const std::string& host, unsigned short port);
  virtual bool IsOpen() const;
  // The port the server listens on, also when the system chose it; 0 while closed.
  unsigned short Port() const;
  // Ends client number client and forgets it; nothing when there is no such client. The client sees
  // the end at once, and any send to it stops. Called from the server's own threads (OnConnect,
  // OnReceive, also the client's own) it returns without waiting; called from any other thread it
  // returns once the client's thread has ended, so that no OnReceive for the client still runs.
  // Either way a Close meanwhile waits for that thread too.
  virtual void CloseClient(int client);
  // Stops listening, ends every client and stops every send before it waits for anything. Called
  // from any other thread, it returns once every thread of the server has ended: the listener and
  // every client thread, also those of clients that other threads were closing at the time and of
  // those whose handler calls Open meanwhile (that Open fails). A second Close from yet another
  // thread returns once the first has. Called from the server's own threads (OnConnect, OnReceive;
  // several at once too) it waits for none of the client threads: they end on their own and are
  // deleted later. Open may be called from those threads as well.
  virtual void Close();

  // The text's characters without a terminating zero.
  bool Send(int client, const std::string& text);
  // Returns once the client has taken every byte: false when client number client is not connected,
  // sending fails or the client is closed first (however long it has been taking nothing).
  virtual bool Send(int client, const char* data, int length);
  // The text's characters and its terminating zero.
  bool Broadcast(const std::string& text);
  // Sends to every client connected when it begins, in the order of their numbers; true when every
  // send succeeded (one to a client closed meanwhile fails).
  virtual bool Broadcast(const char* data, int length);

 protected:
  // Called by CloseClient for the client it ends: when any code closes the client, when the client
  // has left (on the client's own thread) and when OnConnect refused it (on the listener's). Runs on
  // the thread that called CloseClient, once the client is out of the server and its connection is
  // stopped, while the client's thread may still be inside OnReceive. Not called for the clients that
  // Close or Open end. Does nothing here.
  virtual void OnClientClosed(int client);

 private:
  class Listener;
  friend class Listener;
  friend class TcpServerSocketClientConnection;
  using Connection = TcpServerSocketClientConnection;
  using Connections = std::vector<std::shared_ptr<Connection>>;

  int ListenLoop(Listener& listener);
  void Accept(Listener& listener, std::uintptr_t socket);
  // Marks the calling thread as one of this server's own: the listener's or a client's.
  void ServeOnThisThread() const;
  // True on the server's own threads. They never wait for a client thread, so that two of them
  // can never wait for each other. Only the listener is waited for (by Close or Open in OnReceive),
  // and it waits for no thread: it takes the server's lock, which is only ever held briefly, and
  // runs OnConnect.
  bool IsServerThread() const;
  // Under lock_: stops listening and every client, forgets them and retires the clients. Returns
  // the listener when the caller is to wait for it, outside the lock.
  std::unique_ptr<Listener> StopEverything();
  // Under lock_: stops a connection and keeps it until its thread has ended.
  void Retire(const std::shared_ptr<Connection>& connection);
  // Deletes the retired connections whose threads have ended, without waiting for any.
  void DeleteEndedClients();
  std::shared_ptr<Connection> Find(int client);

  std::atomic<bool> open_;
  // Held for the whole of a Close on a thread that is not the server's, so that a second one
  // returns only once the threads that the first waits for have ended as well.
  Threading::CriticalSection closing_;
  // Guards the members below; never held while sending or while a handler runs. A thread that stops
  // a connection or a listener takes it out of these members in the same hold in which it lists it
  // for deletion, so that Close never misses one.
  Threading::CriticalSection lock_;
  bool closeUnderWay_;  // on a thread that is not the server's; Open fails meanwhile
  std::unique_ptr<Listener> listener_;
  // Listeners stopped from their own thread (Close or Open called in OnConnect), until they end.
  std::vector<std::unique_ptr<Listener>> retiredListeners_;
  // A sender keeps its own share of a connection while it sends outside the lock.
  std::map<int, std::shared_ptr<Connection>> clients_;
  // Connections that are stopped but whose threads may not have ended yet, whoever stopped them.
  Connections retiredClients_;
  unsigned int clientCount_;  // also the next client's number
  std::atomic<unsigned short> port_;
};

}  // namespace Common::System::Sockets
