#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Closes a plug-in's editor.
class PluginWindowClose : public ICommand {
 public:
  explicit PluginWindowClose(int id);
  void Execute(Engine* engine) override;

 private:
  const int id_;
};

}  // namespace Ombix::Kelvane::Commands
