#pragma once

#include "host/core/commands/ICommand.h"
#include "host/hosting/PluginKeyEvent.h"

namespace Ombix::Kelvane::Commands {

// Hands a key release to a plug-in's editor.
class PluginKeyUp : public ICommand {
 public:
  PluginKeyUp(int id, const PluginKeyEvent& key);
  void Execute(Engine* engine) override;

 private:
  const int id_;
  const PluginKeyEvent key_;
};

}  // namespace Ombix::Kelvane::Commands
