#include "host/hosting/ProcessLevelRegistry.h"

#include <windows.h>

#include "common/system/threading/ScopedLock.h"

namespace Ombix::Kelvane {

ProcessLevelRegistry processLevelRegistry;

void ProcessLevelRegistry::RegisterCurrentThread(int kind) {
  Common::System::Threading::ScopedLock hold(&lock_);
  kinds_[GetCurrentThreadId()] = kind;
}

int ProcessLevelRegistry::CurrentLevel() {
  Common::System::Threading::ScopedLock hold(&lock_);
  const auto entry = kinds_.find(GetCurrentThreadId());
  if (entry == kinds_.end()) return OtherThread;
  return entry->second == GuiThread || entry->second == AudioThread ? entry->second : OtherThread;
}

}  // namespace Ombix::Kelvane
