#pragma once

#include <mutex>
#include <string>

#include "common/logging/ILogDevice.h"

// Collects everything the global logger writes while it exists.
class LogCapture : public Common::Logging::ILogDevice {
 public:
  LogCapture();
  ~LogCapture() override;

  void Write(int level, const std::string& text) override;
  std::string Text();
  // How often text occurs in what was logged.
  int Count(const std::string& text);
  void Clear();

 private:
  std::mutex m_mutex;
  std::string m_text;
};
