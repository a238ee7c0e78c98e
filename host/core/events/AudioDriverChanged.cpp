#include "host/core/events/AudioDriverChanged.h"

#include "common/logging/Logger.h"
#include "host/core/DriverInfo.h"
#include "host/core/Logic.h"

namespace Ombix::Kelvane::Events {

AudioDriverChanged::AudioDriverChanged(int driverIndex, double sampleRate, int bufferSize,
                                       const std::vector<double>& sampleRates, int minBufferSize,
                                       int maxBufferSize, int granularity,
                                       const std::vector<std::string>& inputNames,
                                       const std::vector<std::string>& outputNames)
    : driverIndex_(driverIndex),
      sampleRate_(sampleRate),
      bufferSize_(bufferSize),
      sampleRates_(sampleRates),
      minBufferSize_(minBufferSize),
      maxBufferSize_(maxBufferSize),
      granularity_(granularity),
      inputNames_(inputNames),
      outputNames_(outputNames) {}

void AudioDriverChanged::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("<= AudioDriverChanged\n");
  logic->GetDriverInfoModel()->OnAudioDriverChanged(driverIndex_, sampleRate_, bufferSize_, sampleRates_,
                                                    minBufferSize_, maxBufferSize_, granularity_, inputNames_,
                                                    outputNames_);
}

}  // namespace Ombix::Kelvane::Events
