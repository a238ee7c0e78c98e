#include "common/system/AtomicFile.h"

#include <windows.h>

#include <algorithm>

namespace Common::System {

namespace {

bool writeAll(HANDLE file, const std::string& content) {
  std::size_t written = 0;
  while (written < content.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - written, 1 << 20));
    DWORD done = 0;
    if (!WriteFile(file, content.data() + written, chunk, &done, nullptr) || done == 0) return false;
    written += done;
  }
  return FlushFileBuffers(file) != FALSE;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".tmp";
  const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = writeAll(file, content);
  const bool closed = CloseHandle(file) != FALSE;
  if (written && closed &&
      MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileA(temporary.c_str());
  return false;
}

}  // namespace Common::System
