#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Plays one or two MIDI messages of the user interface (the on-screen keyboard) into a
// plug-in, stamped with the time since the current block began.
class PluginInjectMidi : public ICommand {
 public:
  PluginInjectMidi(int id, int firstMessage, int secondMessage);
  void Execute(Engine* engine) override;

 private:
  const int id_;
  const int firstMessage_;
  const int secondMessage_;
};

}  // namespace Ombix::Kelvane::Commands
