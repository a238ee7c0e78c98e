#include "host/core/Engine.h"

#include "common/system/threading/ScopedLock.h"
#include "host/core/audio/AudioEngine.h"
#include "host/core/audio/AudioPlugin.h"
#include "host/core/events/IEvent.h"
#include "host/core/events/PluginCreated.h"
#include "host/core/events/PluginDisposed.h"
#include "host/hosting/PluginFactory.h"

namespace Ombix::Kelvane {

using Common::System::Threading::ScopedLock;

Engine::Engine(HWND mainWindow, const std::string& vendor, const std::string& product, int vendorVersion)
    : audioEngine_(new AudioEngine(mainWindow, this)),
      factory_(new PluginFactory(0, vendor, product, vendorVersion)) {}

Engine::~Engine() {
  // The loaders are stopped without any lock held: a loading thread may need the container-map lock
  // or the engine lock to finish.
  factory_->StopLoaders();
  factory_->Drain();
  {
    ScopedLock hold(containerLock_);
    delete factory_;
    factory_ = nullptr;
    delete audioEngine_;
    audioEngine_ = nullptr;
    ClearEvents();
  }
}

void Engine::PostEvent(Events::IEvent* event) {
  {
    ScopedLock hold(eventLock_);
    events_.push_back(event);
  }
  EventsPending();
}

void Engine::DispatchEvents() {
  for (;;) {
    Events::IEvent* event = nullptr;
    {
      ScopedLock hold(eventLock_);
      if (events_.empty()) return;
      event = events_.front();
      events_.pop_front();
    }
    Dispatch(event);
    delete event;
  }
}

void Engine::ClearEvents() {
  ScopedLock hold(eventLock_);
  for (Events::IEvent* event : events_) delete event;
  events_.clear();
}

AudioPlugin* Engine::CreatePlugin(const std::string& path) {
  auto* plugin = new AudioPlugin(factory_, audioEngine_, this);
  PostEvent(new Events::PluginCreated(plugin->Id(), path));
  ScopedLock hold(containerLock_);
  containers_[plugin->Id()] = plugin;
  plugin->SetPath(path);
  return plugin;
}

void Engine::DisposePlugin(int id) {
  ScopedLock hold(containerLock_);
  const auto found = containers_.find(id);
  if (found == containers_.end()) return;
  AudioPlugin* plugin = found->second;
  containers_.erase(found);
  PostEvent(new Events::PluginDisposed(id));
  plugin->Dispose();
}

void Engine::OpenPluginWindow(void* parentWindow, int id) {
  ScopedLock map(containerLock_);
  ScopedLock audio(audioEngine_->Lock());
  if (AudioPlugin* plugin = FindPlugin(id)) plugin->OpenEditor(parentWindow);
}

AudioPlugin* Engine::FindPlugin(int id) {
  const auto found = containers_.find(id);
  return found == containers_.end() ? nullptr : found->second;
}

}  // namespace Ombix::Kelvane
