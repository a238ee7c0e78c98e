#pragma once

#include <boost/signals2/signal.hpp>
#include <string>
#include <vector>

#include "host/hosting/PatchInfo.h"
#include "host/hosting/PluginKeyEvent.h"

namespace Ombix::Kelvane {

// The user interface's view of one hosted plug-in. Its operations only post commands; its signals
// fire on the GUI thread when news about the plug-in has been applied.
class IPlugin {
 public:
  using RecordSignal = boost::signals2::signal<void(IPlugin*)>;

  RecordSignal Loading;
  RecordSignal Failed;
  RecordSignal Activated;
  RecordSignal Deactivated;
  RecordSignal SizeChanged;
  RecordSignal NameChanged;
  RecordSignal UpdateDisplay;
  RecordSignal PatchesChanged;
  // The user interface's last notice about the record.
  RecordSignal Disposed;
  boost::signals2::signal<void(IPlugin*, unsigned char note, bool on)> MidiKey;

  virtual ~IPlugin() = default;
  virtual void OpenWindow(void* parentWindow) = 0;
  virtual void IdleWindow() = 0;
  virtual void CloseWindow() = 0;
  virtual void Dispose() = 0;
  virtual void KeyDown(const PluginKeyEvent& key) = 0;
  virtual void KeyUp(const PluginKeyEvent& key) = 0;
  virtual void InjectMidi(int firstMessage, int secondMessage) = 0;
  virtual int GetStatus() = 0;
  virtual bool IsActive() = 0;
  virtual int GetId() = 0;
  virtual std::string GetName() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual std::vector<PatchInfo> GetPatches() = 0;
  virtual void SetPatch(int program) = 0;
};

}  // namespace Ombix::Kelvane
