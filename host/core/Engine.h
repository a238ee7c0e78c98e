#pragma once

#include <windows.h>

#include <boost/signals2/signal.hpp>
#include <deque>
#include <map>
#include <string>

#include "common/system/threading/CriticalSection.h"

namespace Ombix::Kelvane {

class AudioEngine;
class AudioPlugin;
class PluginFactory;
namespace Events {
class IEvent;
}

// What commands act on: owns the audio engine, the plug-in factory and the hosted plug-ins'
// containers, and holds the queue of events through which the host reports to the Logic.
class Engine {
 public:
  Engine(HWND mainWindow, const std::string& vendor, const std::string& product, int vendorVersion);
  // The Logic has disposed every plug-in before; events still queued are deleted unapplied.
  virtual ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Fires on the posting thread after an event was queued.
  boost::signals2::signal<void()> EventsPending;
  // Fires on the GUI thread once for each event being dispatched.
  boost::signals2::signal<void(Events::IEvent*)> Dispatch;

  // Any thread: queues the event (the engine owns it from now on) and fires EventsPending.
  void PostEvent(Events::IEvent* event);
  // GUI thread: dispatches and deletes every queued event in order, also those posted meanwhile.
  void DispatchEvents();
  void ClearEvents();

  AudioPlugin* CreatePlugin(const std::string& path);
  void DisposePlugin(int id);
  void OpenPluginWindow(void* parentWindow, int id);
  // The container of an id, or null; a lookup leaves nothing behind.
  AudioPlugin* FindPlugin(int id);

  AudioEngine* GetAudioEngine() { return audioEngine_; }
  PluginFactory* Factory() { return factory_; }
  Common::System::Threading::CriticalSection& ContainerLock() { return containerLock_; }

 private:
  AudioEngine* audioEngine_;
  std::map<int, AudioPlugin*> containers_;
  Common::System::Threading::CriticalSection containerLock_;
  PluginFactory* factory_;
  std::deque<Events::IEvent*> events_;
  Common::System::Threading::CriticalSection eventLock_;
};

}  // namespace Ombix::Kelvane
