#pragma once

#include "host/core/commands/ICommand.h"

namespace Ombix::Kelvane::Commands {

// Sets the driver's sample rate and buffer size.
class ConfigureAudioDriver : public ICommand {
 public:
  ConfigureAudioDriver(double sampleRate, int bufferSize);
  void Execute(Engine* engine) override;
  double SampleRate() const { return sampleRate_; }
  int BufferSize() const { return bufferSize_; }

 private:
  const double sampleRate_;
  const int bufferSize_;
};

}  // namespace Ombix::Kelvane::Commands
