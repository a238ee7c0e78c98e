#pragma once

#include <mutex>
#include <string>

#include "common/logging/ILogDevice.h"
#include "common/logging/Logger.h"

namespace Testing {

// Collects everything the global logger writes while it lives.
class LogCapture : public Common::Logging::ILogDevice {
 public:
  LogCapture() { Common::Logging::theLogger.AddDevice(this, 63); }
  ~LogCapture() override { Common::Logging::theLogger.RemoveDevice(this); }

  void Write(int level, const std::string& text) override {
    std::lock_guard<std::mutex> hold(lock_);
    text_ += text;
    levels_ += std::to_string(level) + ":" + text;
  }

  std::string Text() const {
    std::lock_guard<std::mutex> hold(lock_);
    return text_;
  }
  // Every message with its level in front ("8:No magic!\n").
  std::string Levels() const {
    std::lock_guard<std::mutex> hold(lock_);
    return levels_;
  }
  bool Contains(const std::string& text) const { return Text().find(text) != std::string::npos; }

 private:
  mutable std::mutex lock_;
  std::string text_;
  std::string levels_;
};

}  // namespace Testing
