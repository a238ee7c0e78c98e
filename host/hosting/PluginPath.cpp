#include "host/hosting/PluginPath.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "host/hosting/PeMachine.h"

namespace Ombix::Kelvane {

std::string FullPluginPath(const std::string& path) {
  if (path.empty()) return path;
  const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::vector<char> full(size);
  const DWORD length = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  return std::string(full.data(), length);
}

std::string LibraryLoadFailure(const std::string& path, unsigned long error) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return "no such file";
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "a folder, not a library";
  const std::uint16_t machine = PeMachine(path);
  if (machine == 0) return "not a Windows library";
  if (machine == kMachineI386) return "a 32-bit library";
  if (machine != kMachineAmd64) return "a library for another processor";
  if (error == ERROR_MOD_NOT_FOUND) return "a library it needs is missing";
  if (error == ERROR_DLL_INIT_FAILED) return "its start-up code failed";
  return "the system refused it (error " + std::to_string(error) + ")";
}

}  // namespace Ombix::Kelvane
