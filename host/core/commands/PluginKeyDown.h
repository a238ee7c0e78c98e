#pragma once

#include "host/core/commands/ICommand.h"
#include "host/hosting/PluginKeyEvent.h"

namespace Ombix::Kelvane::Commands {

// Hands a key press to a plug-in's editor.
class PluginKeyDown : public ICommand {
 public:
  PluginKeyDown(int id, const PluginKeyEvent& key);
  void Execute(Engine* engine) override;

 private:
  const int id_;
  const PluginKeyEvent key_;
};

}  // namespace Ombix::Kelvane::Commands
