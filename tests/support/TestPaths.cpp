#include "TestPaths.h"

#include <windows.h>

#include <stdexcept>

namespace Testing {

std::string binaryFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error("GetModuleFileName failed");
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

namespace {

void removeTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      removeTree(path + "\\");
      RemoveDirectoryA(path.c_str());
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

}  // namespace

std::string makeTempFolder(const std::string& name) {
  char temp[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error("GetTempPath failed");
  const std::string folder = std::string(temp, length) + "qz-" + name + "-" +
                             std::to_string(GetCurrentProcessId()) + "\\";
  removeTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

}  // namespace Testing
