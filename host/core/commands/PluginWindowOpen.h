#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Opens a plug-in's editor in a parent window.
class PluginWindowOpen : public ICommand {
 public:
  PluginWindowOpen(void* parentWindow, int id);
  void Execute(Engine* engine) override;

 private:
  void* const parentWindow_;
  const int id_;
};

}  // namespace Ombix::Kelvane::Commands
