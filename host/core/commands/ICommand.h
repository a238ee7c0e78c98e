#pragma once

namespace Ombix::Kelvane {
class Engine;
}

namespace Ombix::Kelvane::Commands {

// One request of the user interface, executed on the GUI thread against the engine and then deleted.
class ICommand {
 public:
  virtual ~ICommand() = default;
  virtual void Execute(Engine* engine) = 0;
};

}  // namespace Ombix::Kelvane::Commands
