#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Opens a device of the current audio system.
class SetAudioDriver : public ICommand {
 public:
  explicit SetAudioDriver(int index);
  void Execute(Engine* engine) override;
  int Index() const { return index_; }

 private:
  const int index_;
};

}  // namespace Ombix::Kelvane::Commands
