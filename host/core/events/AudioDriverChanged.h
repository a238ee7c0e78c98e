#pragma once

#include <string>
#include <vector>

#include "host/core/events/IEvent.h"

namespace Ombix::Kelvane::Events {

// The selected device and what it can do.
class AudioDriverChanged : public IEvent {
 public:
  AudioDriverChanged(int driverIndex, double sampleRate, int bufferSize,
                     const std::vector<double>& sampleRates, int minBufferSize, int maxBufferSize,
                     int granularity, const std::vector<std::string>& inputNames,
                     const std::vector<std::string>& outputNames);
  void Apply(Logic* logic) override;

 private:
  const int driverIndex_;
  const double sampleRate_;
  const int bufferSize_;
  const std::vector<double> sampleRates_;
  const int minBufferSize_;
  const int maxBufferSize_;
  const int granularity_;
  const std::vector<std::string> inputNames_;
  const std::vector<std::string> outputNames_;
};

}  // namespace Ombix::Kelvane::Events
