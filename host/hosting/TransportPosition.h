#pragma once

#include <cstdint>

namespace Ombix::Kelvane {

// The musical position of the host's transport, as the time info handed to plug-ins reads it.
struct TransportPosition {
  std::int64_t samplePosition = 0;  // frames processed since the transport was created
  std::int32_t bar = 0;             // bars completed
  std::int32_t beat = 0;            // whole beats within the current bar
  double beatFraction = 0.0;        // fraction of the current beat, 0 to below 1
  double tempo = 120.0;             // beats per minute
  double sampleRate = 44100.0;
  std::int32_t numerator = 4;
  std::int32_t denominator = 4;
};

}  // namespace Ombix::Kelvane
