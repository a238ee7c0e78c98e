#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Gives a plug-in's editor its idle time.
class PluginWindowIdle : public ICommand {
 public:
  explicit PluginWindowIdle(int id);
  void Execute(Engine* engine) override;

 private:
  const int id_;
};

}  // namespace Ombix::Kelvane::Commands
