#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "common/system/threading/CriticalSection.h"
#include "host/core/ILogic.h"

namespace Common::Config {
class Configuration;
}

namespace Ombix::Kelvane {

class DriverInfo;
class Engine;
class Plugin;
class PluginIterator;
namespace Events {
class IEvent;
}

// The user interface's door to the host: owns the driver settings model, the plug-in records and the
// engine. Commands posted on the thread that made it (the GUI thread) run at once; commands from other
// threads wait in a queue until the GUI thread calls ProcessCommands.
class Logic : public ILogic {
 public:
  Logic(HWND mainWindow, Common::Config::Configuration* configuration, const std::string& vendor,
        const std::string& product, int vendorVersion);
  ~Logic() override;
  Logic(const Logic&) = delete;
  Logic& operator=(const Logic&) = delete;

  IDriverInfo* GetDriverInfo() override;
  IPlugin* GetPlugin(int id) override;
  bool IsAudioRunning() override;
  float GetCpuLoad() override;
  void SetLoaderThreads(int count) override;
  void ScanPlugins(const std::string& folder, const std::string& probeProgram,
                   Common::Config::Configuration* configuration) override;
  // The port on which the scanner made by the first ScanPlugins hears the probe programs; 0 takes
  // any free port. By default the probe protocol's own port.
  void SetScannerPort(unsigned short port) { scannerPort_ = port; }
  void CreatePlugin(const std::string& path) override;
  void PostCommand(Commands::ICommand* command) override;
  void ProcessCommands() override;
  void SilenceAudio() override;

  // What the events use (GUI thread).
  DriverInfo* GetDriverInfoModel() { return driverInfo_.get(); }
  Plugin* FindRecord(int id);
  void OnPluginCreated(int id, const std::string& name);
  // Takes the record out of the map and deletes it (its Disposed signal fires).
  void RemoveRecord(int id);
  // The scanner's progress, on the scanner's thread.
  void OnScanningPlugin(const std::string& path);

  Engine* GetEngine() { return engine_.get(); }

 private:
  void OnEventsPending();
  void OnEvent(Events::IEvent* event);
  // The first queued command, taken off the queue; null when none waits.
  Commands::ICommand* TakeCommand();
  bool HasCommands();

  std::unique_ptr<PluginIterator> scanner_;  // made by the first ScanPlugins
  unsigned short scannerPort_;
  std::unique_ptr<DriverInfo> driverInfo_;
  std::unique_ptr<Engine> engine_;
  std::map<int, std::unique_ptr<Plugin>> records_;
  Common::System::Threading::CriticalSection commandLock_;
  const DWORD ownerThread_;
  std::deque<Commands::ICommand*> commands_;
  bool busy_ = false;
  bool rerun_ = false;  // ProcessCommands was called while busy
};

}  // namespace Ombix::Kelvane
