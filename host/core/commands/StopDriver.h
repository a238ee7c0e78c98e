#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Stops the driver.
class StopDriver : public ICommand {
 public:
  void Execute(Engine* engine) override;
};

}  // namespace Ombix::Kelvane::Commands
