#include "host/core/audio/JobQueue.h"

#include "common/system/threading/ScopedLock.h"

namespace Ombix::Kelvane {

AudioPlugin* JobQueue::Pop() {
  Common::System::Threading::ScopedLock pending(pendingLock_);
  if (pending_.empty()) return nullptr;
  AudioPlugin* plugin = pending_.front();
  Common::System::Threading::ScopedLock done(doneLock_);
  done_.splice(done_.end(), pending_, pending_.begin());
  return plugin;
}

}  // namespace Ombix::Kelvane
