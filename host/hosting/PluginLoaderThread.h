#pragma once

#include "common/system/threading/Thread.h"
#include "host/hosting/PluginLoader.h"

namespace Ombix::Kelvane {

// A loader on a thread of its own: loads every container it takes from the factory's queue until it
// takes a null entry.
class PluginLoaderThread : public PluginLoader, public Common::System::Threading::Thread {
 public:
  explicit PluginLoaderThread(PluginFactory* factory);
  // Waits until the thread has ended (the factory queues its null entry first).
  ~PluginLoaderThread() override;

 private:
  int Run() override;

  PluginFactory* const factory_;
};

}  // namespace Ombix::Kelvane
