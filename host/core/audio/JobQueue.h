#pragma once

#include <list>

#include "common/system/threading/CriticalSection.h"

namespace Ombix::Kelvane {

class AudioPlugin;

// The plug-ins of one block in ring order: taken from the pending list as they are processed and
// put on the done list; after the block the lists swap.
class JobQueue {
 public:
  virtual ~JobQueue() = default;

  // The first pending plug-in, moved to the end of the done list; null when none is left. The list
  // node moves with it, so a block allocates nothing.
  AudioPlugin* Pop();

 protected:
  std::list<AudioPlugin*> pending_;
  std::list<AudioPlugin*> done_;
  Common::System::Threading::CriticalSection pendingLock_;
  Common::System::Threading::CriticalSection doneLock_;
};

}  // namespace Ombix::Kelvane
