#pragma once

#include <string>
#include <vector>

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Makes a channel set the engine's active input or output channels.
class SetIOConfiguration : public ICommand {
 public:
  SetIOConfiguration(bool input, const std::string& name, const std::vector<int>& channels);
  void Execute(Engine* engine) override;
  bool IsInput() const { return input_; }
  const std::string& Name() const { return name_; }
  const std::vector<int>& Channels() const { return channels_; }

 private:
  const bool input_;
  const std::string name_;
  const std::vector<int> channels_;
};

}  // namespace Ombix::Kelvane::Commands
