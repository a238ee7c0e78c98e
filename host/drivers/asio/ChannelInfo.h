#pragma once

#include <vector>

#include "host/drivers/asio/AsioInterface.h"
#include "host/drivers/asio/AsioSampleFormat.h"

namespace Ombix::Kelvane {

// One channel of an open ASIO device: what the device reports about it, the host's choice to use it,
// and the float buffer of one block that the engine reads or writes (only while active).
struct ChannelInfo {
  ASIOChannelInfo device{};
  bool active = false;
  int bytesPerSample = 1;
  SampleConverter converter = nullptr;
  std::vector<float> buffer;

  float* Buffer() { return buffer.empty() ? nullptr : buffer.data(); }
};

}  // namespace Ombix::Kelvane
