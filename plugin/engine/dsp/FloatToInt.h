#pragma once

#include <cstdint>
#include <limits>

// Truncation toward zero to a signed 32-bit integer with a defined answer for every input: a value outside
// the 32-bit range, an infinity or NaN gives the lowest 32-bit value, as the processor's own truncating
// conversion does. The sound's arithmetic relies on that answer (for example the phase of the fast sine),
// and a plain C++ conversion is undefined there, so every float-to-integer conversion of the engine goes
// through this function.
inline std::int32_t truncateToInt32(double value) {
  if (value > -2147483649.0 && value < 2147483648.0) {
    return static_cast<std::int32_t>(value);
  }
  return std::numeric_limits<std::int32_t>::min();
}
