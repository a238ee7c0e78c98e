#include "host/drivers/StopSafeLock.h"

#include <windows.h>

namespace Ombix::Kelvane {

bool LockUnlessStopping(Common::System::Threading::CriticalSection& lock, const IAudioDriver& driver) {
  // Yield a few times first so that a short hold costs no more than a context switch.
  constexpr int yieldsBeforeSleeping = 50;
  for (int attempt = 0;; ++attempt) {
    if (lock.TryLock()) return true;
    if (driver.IsStopPending()) return false;
    if (attempt < yieldsBeforeSleeping) {
      SwitchToThread();
    } else {
      Sleep(1);
    }
  }
}

}  // namespace Ombix::Kelvane
