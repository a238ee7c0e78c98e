#pragma once

#include <cstdint>

namespace Ombix::Kelvane {

// One MIDI short message as it travels through the host: status byte in bits 0-7, first data byte in
// bits 8-15, second data byte in bits 16-23, microseconds since the block's time base in bits 32-63.
// A word equal to 0 means no event and ends a batch.
using PackedMidiEvent = std::uint64_t;

}  // namespace Ombix::Kelvane
