#include "common/logging/TextLogger.h"

#include <share.h>

namespace Common::Logging {

TextLogger::TextLogger(const std::string& path) : file_(_fsopen(path.c_str(), "wt", _SH_DENYNO)) {
  if (!file_) throw 1;
}

TextLogger::~TextLogger() {
  DetachFromAllLoggers();
  std::fclose(file_);
}

void TextLogger::Write(int, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fflush(file_);
}

}  // namespace Common::Logging
