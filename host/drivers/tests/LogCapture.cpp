#include "host/drivers/tests/LogCapture.h"

#include "common/logging/Logger.h"

LogCapture::LogCapture() {
  Common::Logging::theLogger.AddDevice(this, 63);
}

LogCapture::~LogCapture() {
  Common::Logging::theLogger.RemoveDevice(this);
}

void LogCapture::Write(int, const std::string& text) {
  std::lock_guard<std::mutex> hold(m_mutex);
  m_text += text;
}

std::string LogCapture::Text() {
  std::lock_guard<std::mutex> hold(m_mutex);
  return m_text;
}

int LogCapture::Count(const std::string& text) {
  const std::string all = Text();
  int count = 0;
  for (auto at = all.find(text); at != std::string::npos; at = all.find(text, at + text.size())) ++count;
  return count;
}

void LogCapture::Clear() {
  std::lock_guard<std::mutex> hold(m_mutex);
  m_text.clear();
}
