#include "common/logging/ILogDevice.h"

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"

#include <algorithm>

namespace Common::Logging {

using System::Threading::ScopedLock;

void ILogDevice::Attach(Logger* logger) {
  ScopedLock hold(lock_);
  loggers_.push_back(logger);
}

void ILogDevice::Detach(Logger* logger) {
  ScopedLock hold(lock_);
  const auto found = std::find(loggers_.begin(), loggers_.end(), logger);
  if (found != loggers_.end()) loggers_.erase(found);
}

ILogDevice::~ILogDevice() {
  DetachFromAllLoggers();
}

void ILogDevice::DetachFromAllLoggers() {
  // The logger's lock comes before the device's: never call a logger with our lock held.
  for (;;) {
    Logger* logger = nullptr;
    {
      ScopedLock hold(lock_);
      if (loggers_.empty()) return;
      logger = loggers_.front();
    }
    logger->RemoveDevice(this);
  }
}

}  // namespace Common::Logging
