#pragma once

#include "common/system/threading/CriticalSection.h"
#include "host/drivers/IAudioDriver.h"

namespace Ombix::Kelvane {

// Takes the lock for a block on a driver's thread, unless the driver's Stop becomes pending while the
// lock is held elsewhere: the stopping thread may hold this very lock while it waits for the driver's
// thread, so the block must be given up (true: the lock is held; false: not taken, give up).
bool LockUnlessStopping(Common::System::Threading::CriticalSection& lock, const IAudioDriver& driver);

}  // namespace Ombix::Kelvane
