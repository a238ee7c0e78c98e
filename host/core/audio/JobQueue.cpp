#include "host/core/audio/JobQueue.h"

#include "common/system/threading/ScopedLock.h"

namespace Ombix::Kelvane {

AudioPlugin* JobQueue::Pop() {
  Common::System::Threading::ScopedLock hold(pendingLock_);
  if (pending_.empty()) return nullptr;
  AudioPlugin* plugin = pending_.front();
  pending_.pop_front();
  return plugin;
}

}  // namespace Ombix::Kelvane
