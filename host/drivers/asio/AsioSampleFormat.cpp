#include "host/drivers/asio/AsioSampleFormat.h"

#include <cstdint>
#include <cstring>

#include "common/logging/Logger.h"
#include "host/drivers/SampleConversion.h"
#include "host/drivers/asio/AsioInterface.h"

namespace Ombix::Kelvane {

namespace {

// Device buffers are little-endian and not necessarily aligned for their sample type: copy bytes.
template <typename Sample, float (*toFloat)(Sample)>
void ConvertInput(int frames, void* device, float* floats) {
  const auto* bytes = static_cast<const std::uint8_t*>(device);
  for (int i = 0; i < frames; ++i) {
    Sample sample;
    std::memcpy(&sample, bytes + i * sizeof(Sample), sizeof(Sample));
    floats[i] = toFloat(sample);
  }
}

template <typename Sample, Sample (*fromFloat)(float)>
void ConvertOutput(int frames, void* device, float* floats) {
  auto* bytes = static_cast<std::uint8_t*>(device);
  for (int i = 0; i < frames; ++i) {
    const Sample sample = fromFloat(floats[i]);
    std::memcpy(bytes + i * sizeof(Sample), &sample, sizeof(Sample));
  }
}

void ConvertNothing(int, void*, float*) {}

const char* SampleTypeName(long sampleType) {
  switch (sampleType) {
    case AsioSampleType::Int16MSB:
      return "Int16MSB";
    case AsioSampleType::Int24MSB:
      return "Int24MSB";
    case AsioSampleType::Int32MSB:
      return "Int32MSB";
    case AsioSampleType::Float32MSB:
      return "Float32MSB";
    case AsioSampleType::Float64MSB:
      return "Float64MSB";
    case AsioSampleType::Int32MSB16:
      return "Int32MSB16";
    case AsioSampleType::Int32MSB18:
      return "Int32MSB18";
    case AsioSampleType::Int32MSB20:
      return "Int32MSB20";
    case AsioSampleType::Int32MSB24:
      return "Int32MSB24";
    case AsioSampleType::Int24LSB:
      return "Int24LSB";
    case AsioSampleType::Float32LSB:
      return "Float32LSB";
    case AsioSampleType::Float64LSB:
      return "Float64LSB";
    case AsioSampleType::Int32LSB16:
      return "Int32LSB16";
    case AsioSampleType::Int32LSB18:
      return "Int32LSB18";
    case AsioSampleType::Int32LSB20:
      return "Int32LSB20";
    case AsioSampleType::Int32LSB24:
      return "Int32LSB24";
    case AsioSampleType::DSDInt8LSB1:
      return "DSDInt8LSB1";
    case AsioSampleType::DSDInt8MSB1:
      return "DSDInt8MSB1";
    case AsioSampleType::DSDInt8NER8:
      return "DSDInt8NER8";
    default:
      return nullptr;
  }
}

}  // namespace

int BytesPerSample(long sampleType) {
  switch (sampleType) {
    case AsioSampleType::Int16MSB:
    case AsioSampleType::Int16LSB:
      return 2;
    case AsioSampleType::Int24MSB:
    case AsioSampleType::Int24LSB:
      return 3;
    case AsioSampleType::Int32MSB:
    case AsioSampleType::Float32MSB:
    case AsioSampleType::Int32MSB16:
    case AsioSampleType::Int32MSB18:
    case AsioSampleType::Int32MSB20:
    case AsioSampleType::Int32MSB24:
    case AsioSampleType::Int32LSB:
    case AsioSampleType::Float32LSB:
    case AsioSampleType::Int32LSB16:
    case AsioSampleType::Int32LSB18:
    case AsioSampleType::Int32LSB20:
    case AsioSampleType::Int32LSB24:
      return 4;
    case AsioSampleType::Float64MSB:
    case AsioSampleType::Float64LSB:
      return 8;
    default:
      return 1;
  }
}

SampleConverter ChooseConverter(long sampleType, bool input) {
  if (sampleType == AsioSampleType::Int16LSB)
    return input ? &ConvertInput<std::int16_t, FromInt16> : &ConvertOutput<std::int16_t, ToInt16Double>;
  if (sampleType == AsioSampleType::Int32LSB)
    return input ? &ConvertInput<std::int32_t, FromInt32> : &ConvertOutput<std::int32_t, ToInt32>;
  auto& log = Common::Logging::theLogger;
  if (const char* name = SampleTypeName(sampleType)) {
    log.Error("ASIO converter 'ASIOST%s' not available!\n", name);
  } else {
    log.Error("ASIO converter {%ld} not available!\n", sampleType);
  }
  return &ConvertNothing;
}

}  // namespace Ombix::Kelvane
