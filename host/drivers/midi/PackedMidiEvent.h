#pragma once

#include <cstdint>

namespace Ombix::Kelvane {

// One MIDI short message with its time: bits 0-7 status, 8-15 first data byte, 16-23 second data
// byte, 24-31 zero, 32-63 microseconds since the time base of the block that delivers it.
// 0 means no event and ends a batch.
using PackedMidiEvent = std::uint64_t;

inline PackedMidiEvent PackMidiEvent(std::uint32_t shortMessage, std::uint32_t microseconds) {
  return (static_cast<PackedMidiEvent>(microseconds) << 32) | (shortMessage & 0xFFFFFFu);
}

}  // namespace Ombix::Kelvane
