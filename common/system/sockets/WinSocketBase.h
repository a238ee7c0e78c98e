#pragma once

namespace Common::System::Sockets {

// Keeps Windows Sockets started while any object of a derived class exists: the first one starts
// it, the last one to go cleans it up.
class WinSocketBase {
 public:
  WinSocketBase();
  WinSocketBase(const WinSocketBase&) = delete;
  WinSocketBase& operator=(const WinSocketBase&) = delete;
  virtual ~WinSocketBase();
};

}  // namespace Common::System::Sockets
