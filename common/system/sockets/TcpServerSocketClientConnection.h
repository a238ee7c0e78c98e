#pragma once

#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/Thread.h"

#include <atomic>
#include <cstdint>

namespace Common::System::Sockets {

class TcpServerSocket;

// One accepted client of a TcpServerSocket: a thread that receives from the client and hands what
// arrives to the server's OnReceive. When the client goes away the thread tells the server
// (CloseClient with its own number) and ends; the server deletes the connection.
class TcpServerSocketClientConnection : public Threading::Thread {
 public:
  static constexpr int kBufferSize = 2048;

  // Takes over the accepted socket; the thread starts at Start.
  TcpServerSocketClientConnection(int number, TcpServerSocket* owner, std::uintptr_t socket);
  // Stops the connection, waits for its thread and closes the socket.
  ~TcpServerSocketClientConnection() override;

  int Run() override;
  // Ends the thread's receiving, any send in progress and the connection with the client, without
  // waiting. A connection whose thread never started runs its (now empty) loop once, so that its
  // thread ends too.
  void Stop();
  // Sends all bytes, waiting as long as the client takes none; false when sending fails or the
  // connection is stopped first. Sends from several threads follow one another, each one whole.
  bool Send(const char* data, int length);

 private:
  char buffer_[kBufferSize];
  TcpServerSocket* owner_;
  std::uintptr_t socket_;
  int number_;
  std::atomic<bool> running_;
  Threading::CriticalSection sending_;
};

}  // namespace Common::System::Sockets
