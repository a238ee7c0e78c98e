#pragma once

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
  // Ends the thread's receiving and the connection with the client, without waiting.
  void Stop();
  // Sends all bytes; false when sending fails.
  bool Send(const char* data, int length);

 private:
  char buffer_[kBufferSize];
  TcpServerSocket* owner_;
  std::uintptr_t socket_;
  int number_;
  std::atomic<bool> running_;
};

}  // namespace Common::System::Sockets
