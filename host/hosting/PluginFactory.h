#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/Semaphore.h"
#include "host/hosting/PluginLoader.h"

namespace Ombix::Kelvane {

class PluginContainer;
class PluginLoaderThread;

// The host's plug-in loading service: a direct loader that loads on the calling thread, and a bounded
// queue served by loader threads (the host configures none). Also sets the texts the host answers to
// plug-ins, and keeps one library from being loaded by two loaders at once.
class PluginFactory {
 public:
  static constexpr int kQueueSlots = 8192;

  PluginFactory(int loaderCount, const std::string& vendor, const std::string& product, int vendorVersion);
  virtual ~PluginFactory();
  PluginFactory(const PluginFactory&) = delete;
  PluginFactory& operator=(const PluginFactory&) = delete;

  // Replaces the loader threads by n new ones; 0 changes nothing.
  void SetLoaderThreadCount(int count);
  int LoaderThreadCount();
  PluginLoader& DirectLoader() { return *directLoader_; }

  // Puts a container at the front of the queue, or a stop entry (null) at its back.
  void Enqueue(PluginContainer* container);
  // A loader thread's wait for the next entry.
  PluginContainer* Dequeue();
  // Ends every loader thread and waits until they have ended. Call it without holding any lock a
  // loading thread may need.
  void StopLoaders();
  // Finishes every queued container without loading it (deleting the disposed ones).
  void Drain();

  int LoadsFinished();

 private:
  friend class PluginLoader;
  bool AcquireModule(void* module);
  void LoadDone(void* module);

  int loadsFinished_ = 0;
  std::unique_ptr<PluginLoader> directLoader_;
  std::vector<std::unique_ptr<PluginLoaderThread>> loaderThreads_;
  std::deque<PluginContainer*> queue_;
  std::map<void*, int> modulesLoading_;
  Common::System::Threading::CriticalSection queueLock_;
  Common::System::Threading::Semaphore filledSlots_;
  Common::System::Threading::Semaphore freeSlots_;
  // Guards the loader threads, the libraries being loaded and the finished count.
  Common::System::Threading::CriticalSection factoryLock_;
};

}  // namespace Ombix::Kelvane
