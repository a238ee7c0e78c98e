#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Starts the driver with the active channels.
class StartDriver : public ICommand {
 public:
  void Execute(Engine* engine) override;
};

}  // namespace Ombix::Kelvane::Commands
