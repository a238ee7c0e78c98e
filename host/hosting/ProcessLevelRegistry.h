#pragma once

#include <cstdint>
#include <map>

#include "common/system/threading/CriticalSection.h"

namespace Ombix::Kelvane {

// Which thread is the user-interface thread and which threads run audio blocks: the answer to a
// plug-in's question about its process level.
class ProcessLevelRegistry {
 public:
  enum Level { GuiThread = 1, AudioThread = 2, OtherThread = 3 };

  // Records the calling thread as GuiThread or AudioThread, under the registry's lock.
  void RegisterCurrentThread(int kind);
  // The calling thread's level: GuiThread, AudioThread, or OtherThread when it was never recorded.
  int CurrentLevel();

 private:
  Common::System::Threading::CriticalSection lock_;
  std::map<std::uint32_t, int> kinds_;
};

extern ProcessLevelRegistry processLevelRegistry;

}  // namespace Ombix::Kelvane
