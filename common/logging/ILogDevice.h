#pragma once

#include "common/system/threading/CriticalSection.h"

#include <string>
#include <vector>

namespace Common::Logging {

class Logger;

// Receives the formatted messages of the loggers it is attached to. Deleting a device detaches
// it from every logger first.
class ILogDevice {
 public:
  ILogDevice() = default;
  ILogDevice(const ILogDevice&) = delete;
  ILogDevice& operator=(const ILogDevice&) = delete;

  // Called by Logger::AddDevice and Logger::RemoveDevice.
  virtual void Attach(Logger* logger);
  virtual void Detach(Logger* logger);
  // Called with the logger's lock held, one message at a time.
  virtual void Write(int level, const std::string& text) = 0;
  virtual ~ILogDevice();

 protected:
  // Removes the device from every logger it is attached to. A derived device calls this first in
  // its destructor, so that no logger writes to it while it is being taken apart.
  void DetachFromAllLoggers();

 private:
  System::Threading::CriticalSection lock_;
  std::vector<Logger*> loggers_;
};

}  // namespace Common::Logging
