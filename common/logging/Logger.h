#pragma once

#include "common/system/threading/CriticalSection.h"

#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

namespace Common::Logging {

class ILogDevice;

// The process-wide logger (theLogger below). A message has one level bit; it reaches every
// attached device whose mask holds that bit, in the order the devices were attached. Messages
// carry their own line ends. A formatted message holds at most 1023 characters: a longer one
// keeps its first 1014 followed by "[...]".
class Logger {
 public:
  static constexpr int DebugLevel = 1;
  static constexpr int InfoLevel = 2;
  static constexpr int WarningLevel = 4;
  static constexpr int ErrorLevel = 8;
  static constexpr int CriticalLevel = 16;
  static constexpr int FatalLevel = 32;
  static constexpr int AllLevels = 63;
  static constexpr int MaxMessageLength = 1023;

  Logger() = default;
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  virtual void Log(int level, const char* format, va_list arguments);
  // Debug messages are dropped.
  virtual void Debug(const std::string& text);
  virtual void Debug(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
  // The text forms log the text as it is: a "%" in it is not a conversion.
  virtual void Info(const std::string& text);
  virtual void Info(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
  virtual void Warning(const std::string& text);
  virtual void Warning(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
  virtual void Critical(const std::string& text);
  virtual void Critical(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
  virtual void Error(const std::string& text);
  virtual void Error(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
  virtual void Fatal(const std::string& text);
  virtual void Fatal(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
  // A device may be added more than once; each entry receives the message.
  virtual void AddDevice(ILogDevice* device, int mask);
  // Tells the device (Detach), then removes the device's first entry, when it has one.
  virtual void RemoveDevice(ILogDevice* device);
  // Deletes every device still attached: once attached, a device belongs to the logger.
  virtual ~Logger();

 private:
  struct Entry {
    int mask;
    ILogDevice* device;
  };

  void LogText(int level, const std::string& text);
  // Cuts the message in the buffer when it was longer than fits and hands it to the devices.
  void Publish(int level, std::size_t fullLength);

  char message_[MaxMessageLength + 1] = {};
  System::Threading::CriticalSection lock_;
  std::vector<Entry> devices_;
};

// The one logger of the process. It is built before every other static object and destroyed
// after them, so any of them may log.
extern Logger theLogger;

}  // namespace Common::Logging
