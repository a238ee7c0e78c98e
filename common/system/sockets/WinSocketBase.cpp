#include <winsock2.h>

#include "common/system/sockets/WinSocketBase.h"

#include "common/logging/Logger.h"
#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/ScopedLock.h"

namespace Common::System::Sockets {
namespace {

using Threading::CriticalSection;
using Threading::ScopedLock;

// Built on first use, so a socket object that is itself static finds them ready.
CriticalSection& countLock() {
  static CriticalSection lock;
  return lock;
}
int liveCount = 0;

}  // namespace

WinSocketBase::WinSocketBase() {
  ScopedLock hold(countLock());
  if (liveCount == 0) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 0), &data) != 0)
      Logging::theLogger.Warning(std::string("WSAStartup failed\n"));
  }
  ++liveCount;
}

WinSocketBase::~WinSocketBase() {
  ScopedLock hold(countLock());
  if (--liveCount == 0) WSACleanup();
}

}  // namespace Common::System::Sockets
