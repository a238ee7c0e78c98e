#pragma once

#include <boost/signals2/signal.hpp>
#include <string>

#include "host/core/IChannel.h"

namespace Common::Config {
class Configuration;
}

namespace Ombix::Kelvane {

class IDriverInfo;
class IPlugin;
namespace Commands {
class ICommand;
}

// The only door between the user interface and the host's machinery: requests go in as commands,
// news comes back through the records, the driver settings model and these signals.
class ILogic {
 public:
  // The path the plug-in scanner is probing.
  boost::signals2::signal<void(const std::string&)> Scanning;
  boost::signals2::signal<void(IPlugin*)> PluginAdded;
  boost::signals2::signal<void(IPlugin*)> PluginRemoved;
  boost::signals2::signal<void(IChannel*)> ChannelAdded;
  boost::signals2::signal<void(IChannel*)> ChannelRemoved;
  // Commands or events wait for ProcessCommands; may fire on any thread.
  boost::signals2::signal<void()> CommandsPending;

  virtual ~ILogic() = default;
  virtual IDriverInfo* GetDriverInfo() = 0;
  // Null for an id without a record.
  virtual IPlugin* GetPlugin(int id) = 0;
  virtual bool IsAudioRunning() = 0;
  // The peak load since the last call (0 while no driver runs); asks the engine to start a new peak.
  virtual float GetCpuLoad() = 0;
  virtual void SetLoaderThreads(int count) = 0;
  // Probes the plug-ins below folder with the probe program, one at a time on a scanner thread; the
  // Scanning signal reports each path. The first call makes the scanner, which writes the results into
  // that configuration on its own thread, without a lock: nothing else may use that configuration
  // (the driver settings' one included) until the Logic is deleted. Later calls only add folders;
  // their configuration is not used.
  virtual void ScanPlugins(const std::string& folder, const std::string& probeProgram,
                           Common::Config::Configuration* configuration) = 0;
  virtual void CreatePlugin(const std::string& path) = 0;
  // Takes the command: runs it at once on the GUI thread, else queues it and fires CommandsPending.
  virtual void PostCommand(Commands::ICommand* command) = 0;
  // GUI thread: runs the queued commands, then applies the queued events.
  virtual void ProcessCommands() = 0;
  // GUI thread, before shut-down: switches every hosted plug-in's notes off, fades the output out
  // and, once silent blocks have gone out (or the device has stopped asking for blocks) and the
  // fade has had time to be heard, stops the audio driver.
  virtual void SilenceAudio() = 0;
};

}  // namespace Ombix::Kelvane
