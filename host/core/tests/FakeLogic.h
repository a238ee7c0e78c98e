#pragma once

#include <memory>
#include <vector>

#include "host/core/ILogic.h"
#include "host/core/commands/ICommand.h"

namespace Testing {

// A Logic stand-in that keeps every command posted to it, unexecuted.
class FakeLogic : public Ombix::Kelvane::ILogic {
 public:
  Ombix::Kelvane::IDriverInfo* GetDriverInfo() override { return nullptr; }
  Ombix::Kelvane::IPlugin* GetPlugin(int) override { return nullptr; }
  bool IsAudioRunning() override { return false; }
  float GetCpuLoad() override { return 0.0f; }
  void SetLoaderThreads(int) override {}
  void ScanPlugins(const std::string&, const std::string&, Common::Config::Configuration*) override {}
  void CreatePlugin(const std::string&) override {}
  void PostCommand(Ombix::Kelvane::Commands::ICommand* command) override { commands.emplace_back(command); }
  void ProcessCommands() override {}
  void SilenceAudio() override {}

  // The posted commands of type T, in order.
  template <typename T>
  std::vector<T*> Posted() const {
    std::vector<T*> found;
    for (const auto& command : commands)
      if (auto* typed = dynamic_cast<T*>(command.get())) found.push_back(typed);
    return found;
  }

  std::vector<std::unique_ptr<Ombix::Kelvane::Commands::ICommand>> commands;
};

}  // namespace Testing
