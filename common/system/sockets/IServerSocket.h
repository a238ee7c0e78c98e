#pragma once

namespace Common::System::Sockets {

// What a stream server tells the code that uses it. Both calls run on the server's own threads.
class IServerSocket {
 public:
  // Bytes that client number client sent; called on that client's thread, one call per receipt.
  virtual void OnReceive(int client, const char* data, int length) = 0;
  // A client was accepted under this number; false refuses it (its connection is closed at once).
  virtual bool OnConnect(int client) = 0;
  virtual ~IServerSocket() = default;
};

}  // namespace Common::System::Sockets
