#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Removes a hosted plug-in.
class DisposePlugin : public ICommand {
 public:
  explicit DisposePlugin(int id);
  void Execute(Engine* engine) override;

 private:
  const int id_;
};

}  // namespace Ombix::Kelvane::Commands
