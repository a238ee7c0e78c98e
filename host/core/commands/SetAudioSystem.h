#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Replaces the driver by one of another audio system.
class SetAudioSystem : public ICommand {
 public:
  explicit SetAudioSystem(int index);
  void Execute(Engine* engine) override;
  int Index() const { return index_; }

 private:
  const int index_;
};

}  // namespace Ombix::Kelvane::Commands
