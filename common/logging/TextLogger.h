#pragma once

#include "common/logging/ILogDevice.h"

#include <cstdio>
#include <string>

namespace Common::Logging {

// Writes every message unchanged to a text file, flushed at once, so that the file is complete
// even when the program ends abruptly. The file is emptied when the device is created, and other
// programs may read it meanwhile.
class TextLogger : public ILogDevice {
 public:
  // Throws the int 1 when the file cannot be opened.
  explicit TextLogger(const std::string& path);
  ~TextLogger() override;

  void Write(int level, const std::string& text) override;

 private:
  std::FILE* file_;
};

}  // namespace Common::Logging
