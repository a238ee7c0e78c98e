#pragma once

#include <string>

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Loads a plug-in from a file into a new container.
class CreateNewPlugin : public ICommand {
 public:
  explicit CreateNewPlugin(const std::string& path);
  void Execute(Engine* engine) override;

 private:
  const std::string path_;
};

}  // namespace Ombix::Kelvane::Commands
