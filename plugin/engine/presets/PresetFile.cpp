#include "plugin/engine/presets/PresetFile.h"

#include <windows.h>

#include <algorithm>

namespace {

// Prefix of the new file that a save writes before it replaces the chosen one.
const char* const pendingFilePrefix = "zfx";

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Answers whether the handle was open and closed cleanly.
  bool close() {
    if (!isOpen()) return false;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

std::string folderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string(".") : path.substr(0, separator + 1);
}

bool writeAll(HANDLE file, const std::vector<unsigned char>& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    DWORD done = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, MAXDWORD));
    if (!WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) return false;
    written += done;
  }
  return true;
}

bool writeNewFile(const char* path, const std::vector<unsigned char>& image) {
  FileHandle file(
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.isOpen() && writeAll(file.get(), image) && FlushFileBuffers(file.get()) && file.close();
}

}  // namespace

bool writePresetFile(const std::string& path, const std::vector<unsigned char>& image) {
  // A read-only file or a folder of that name is never replaced, as a direct write would fail.
  const DWORD existing = GetFileAttributesA(path.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES &&
      (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return false;
  }
  char pending[MAX_PATH];
  if (!GetTempFileNameA(folderOf(path).c_str(), pendingFilePrefix, 0, pending)) return false;
  const bool replaced =
      writeNewFile(pending, image) &&
      MoveFileExA(pending, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) DeleteFileA(pending);
  return replaced;
}

bool readPresetFile(const std::string& path, std::size_t maxBytes, std::vector<unsigned char>& image) {
  image.clear();
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER fileSize;
  if (!file.isOpen() || !GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart < 0) return false;

  std::vector<unsigned char> bytes(static_cast<std::size_t>(
      std::min<unsigned long long>(static_cast<unsigned long long>(fileSize.QuadPart), maxBytes)));
  std::size_t read = 0;
  while (read < bytes.size()) {
    DWORD done = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - read, MAXDWORD));
    if (!ReadFile(file.get(), bytes.data() + read, chunk, &done, nullptr) || done == 0) return false;
    read += done;
  }
  image.swap(bytes);
  return true;
}
