#pragma once

#include <cstdint>
#include <map>

#include "common/system/threading/CriticalSection.h"

namespace Ombix::Kelvane {

// The folder of the plug-in whose entry a thread is running, so that a plug-in asking for its
// directory before its wrapper exists gets it.
class DirectoryRegistry {
 public:
  // The calling thread's folder text (not owned), or null when it is loading no plug-in.
  const char* CurrentFolder();

 private:
  friend class DirectoryRegistration;
  void Set(const char* folder);
  void Remove();

  Common::System::Threading::CriticalSection lock_;
  std::map<std::uint32_t, const char*> folders_;
};

extern DirectoryRegistry directoryRegistry;

// Registers a folder for the calling thread for as long as it lives, whatever way the scope ends.
class DirectoryRegistration {
 public:
  explicit DirectoryRegistration(const char* folder) { directoryRegistry.Set(folder); }
  ~DirectoryRegistration() { directoryRegistry.Remove(); }
  DirectoryRegistration(const DirectoryRegistration&) = delete;
  DirectoryRegistration& operator=(const DirectoryRegistration&) = delete;
};

}  // namespace Ombix::Kelvane
