#include "common/logging/Logger.h"

#include "common/logging/ILogDevice.h"
#include "common/system/threading/ScopedLock.h"

#include <cstdio>
#include <cstring>

namespace Common::Logging {

using System::Threading::ScopedLock;

__attribute__((init_priority(101))) Logger theLogger;

namespace {

constexpr char TruncationMark[] = "[...]";
constexpr std::size_t TruncatedLength = 1014;

}  // namespace

void Logger::Log(int level, const char* format, va_list arguments) {
  if (!format) return;
  ScopedLock hold(lock_);
  const int length = std::vsnprintf(message_, sizeof message_, format, arguments);
  if (length >= 0) Publish(level, static_cast<std::size_t>(length));
}

void Logger::LogText(int level, const std::string& text) {
  // The text is the message itself, never a format.
  ScopedLock hold(lock_);
  const std::size_t copied = text.copy(message_, MaxMessageLength);
  message_[copied] = '\0';
  Publish(level, text.size());
}

void Logger::Publish(int level, std::size_t fullLength) {
  if (fullLength >= MaxMessageLength) {
    std::memcpy(message_ + TruncatedLength, TruncationMark, sizeof TruncationMark);
  }
  const std::string message(message_);
  // By index: a device may remove itself while it writes.
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    const Entry entry = devices_[i];
    if (!(level & entry.mask)) continue;
    try {
      entry.device->Write(level, message);
    } catch (...) {
      // A failing device loses this message only.
    }
  }
}

void Logger::Debug(const std::string&) {}

void Logger::Debug(const char*, ...) {}

void Logger::Info(const std::string& text) {
  LogText(InfoLevel, text);
}

void Logger::Warning(const std::string& text) {
  LogText(WarningLevel, text);
}

void Logger::Critical(const std::string& text) {
  LogText(CriticalLevel, text);
}

void Logger::Error(const std::string& text) {
  LogText(ErrorLevel, text);
}

void Logger::Fatal(const std::string& text) {
  LogText(FatalLevel, text);
}

void Logger::Info(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Log(InfoLevel, format, arguments);
  va_end(arguments);
}

void Logger::Warning(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Log(WarningLevel, format, arguments);
  va_end(arguments);
}

void Logger::Critical(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Log(CriticalLevel, format, arguments);
  va_end(arguments);
}

void Logger::Error(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Log(ErrorLevel, format, arguments);
  va_end(arguments);
}

void Logger::Fatal(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Log(FatalLevel, format, arguments);
  va_end(arguments);
}

void Logger::AddDevice(ILogDevice* device, int mask) {
  ScopedLock hold(lock_);
  device->Attach(this);
  devices_.push_back({mask, device});
}

void Logger::RemoveDevice(ILogDevice* device) {
  ScopedLock hold(lock_);
  device->Detach(this);
  for (auto entry = devices_.begin(); entry != devices_.end(); ++entry) {
    if (entry->device == device) {
      devices_.erase(entry);
      return;
    }
  }
}

Logger::~Logger() {
  ScopedLock hold(lock_);
  // Each device's destructor removes its own entries.
  while (!devices_.empty()) delete devices_.front().device;
}

}  // namespace Common::Logging
