#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Stops the driver and shows its own settings window.
class ShowAudioConfigPanel : public ICommand {
 public:
  void Execute(Engine* engine) override;
};

}  // namespace Ombix::Kelvane::Commands
