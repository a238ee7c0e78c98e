#include "host/hosting/PluginLoaderThread.h"

#include <windows.h>

#include "host/hosting/PluginFactory.h"

namespace Ombix::Kelvane {

PluginLoaderThread::PluginLoaderThread(PluginFactory* factory) : PluginLoader(factory), factory_(factory) {
  SetName("IPlugin Loader");
}

PluginLoaderThread::~PluginLoaderThread() {
  WaitForEnd();
}

int PluginLoaderThread::Run() {
  while (PluginContainer* container = factory_->Dequeue()) Load(container);
  return 0;
}

}  // namespace Ombix::Kelvane
