#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Chooses a program of a hosted plug-in.
class PluginSetPatch : public ICommand {
 public:
  PluginSetPatch(int id, int program);
  void Execute(Engine* engine) override;

 private:
  const int id_;
  const int program_;
};

}  // namespace Ombix::Kelvane::Commands
