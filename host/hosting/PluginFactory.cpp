#include "host/hosting/PluginFactory.h"

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/hosting/HostTexts.h"
#include "host/hosting/PluginContainer.h"
#include "host/hosting/PluginLoaderThread.h"

namespace Ombix::Kelvane {

using Common::System::Threading::ScopedLock;

PluginFactory::PluginFactory(int /*loaderCount*/, const std::string& vendor, const std::string& product,
                             int vendorVersion)
    : filledSlots_(0, kQueueSlots), freeSlots_(kQueueSlots, kQueueSlots) {
  SetHostTexts(vendor, product, vendorVersion);
  {
    ScopedLock hold(&factoryLock_);
    directLoader_ = std::make_unique<PluginLoader>(this);
  }
  // Loads run on the calling thread unless loader threads are asked for later.
  SetLoaderThreadCount(0);
}

PluginFactory::~PluginFactory() {
  StopLoaders();
  ScopedLock hold(&factoryLock_);
  directLoader_.reset();
  queue_.clear();
}

void PluginFactory::SetLoaderThreadCount(int count) {
  if (count <= 0) return;
  StopLoaders();
  ScopedLock hold(&factoryLock_);
  for (int i = 0; i < count; ++i) {
    loaderThreads_.push_back(std::make_unique<PluginLoaderThread>(this));
    loaderThreads_.back()->Start();
  }
}

int PluginFactory::LoaderThreadCount() {
  ScopedLock hold(&factoryLock_);
  return static_cast<int>(loaderThreads_.size());
}

void PluginFactory::Enqueue(PluginContainer* container) {
  freeSlots_.Wait();
  {
    ScopedLock hold(&queueLock_);
    if (container) {
      queue_.push_front(container);
    } else {
      queue_.push_back(nullptr);
    }
  }
  filledSlots_.Signal();
}

PluginContainer* PluginFactory::Dequeue() {
  filledSlots_.Wait();
  PluginContainer* container;
  {
    ScopedLock hold(&queueLock_);
    container = queue_.front();
    queue_.pop_front();
  }
  freeSlots_.Signal();
  return container;
}

void PluginFactory::StopLoaders() {
  // The threads are taken out under the lock but waited for without it: a thread that is still
  // loading needs the lock to finish its load.
  std::vector<std::unique_ptr<PluginLoaderThread>> threads;
  {
    ScopedLock hold(&factoryLock_);
    threads.swap(loaderThreads_);
  }
  if (threads.empty()) return;
  for (std::size_t i = 0; i < threads.size(); ++i) {
    Common::Logging::theLogger.Info("Enqueuing container");
    Common::Logging::theLogger.Info(" => Threaded\n");
    Enqueue(nullptr);
  }
  Common::Logging::theLogger.Info("Waiting for loaders to die\n");
  threads.clear();
}

void PluginFactory::Drain() {
  for (;;) {
    {
      ScopedLock hold(&queueLock_);
      if (queue_.empty()) break;
    }
    if (PluginContainer* container = Dequeue()) {
      container->TakeLoadPath();
      container->LoadFinished();
    }
  }
}

int PluginFactory::LoadsFinished() {
  ScopedLock hold(&factoryLock_);
  return loadsFinished_;
}

bool PluginFactory::AcquireModule(void* module) {
  ScopedLock hold(&factoryLock_);
  return modulesLoading_.emplace(module, 1).second;
}

void PluginFactory::LoadDone(void* module) {
  ScopedLock hold(&factoryLock_);
  ++loadsFinished_;
  modulesLoading_.erase(module);
}

}  // namespace Ombix::Kelvane
