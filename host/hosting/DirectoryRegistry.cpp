#include "host/hosting/DirectoryRegistry.h"

#include <windows.h>

#include "common/system/threading/ScopedLock.h"

namespace Ombix::Kelvane {

DirectoryRegistry directoryRegistry;

const char* DirectoryRegistry::CurrentFolder() {
  Common::System::Threading::ScopedLock hold(&lock_);
  const auto entry = folders_.find(GetCurrentThreadId());
  return entry == folders_.end() ? nullptr : entry->second;
}

void DirectoryRegistry::Set(const char* folder) {
  Common::System::Threading::ScopedLock hold(&lock_);
  folders_[GetCurrentThreadId()] = folder;
}

void DirectoryRegistry::Remove() {
  Common::System::Threading::ScopedLock hold(&lock_);
  folders_.erase(GetCurrentThreadId());
}

}  // namespace Ombix::Kelvane
