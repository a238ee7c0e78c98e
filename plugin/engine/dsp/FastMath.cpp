#include "plugin/engine/dsp/FastMath.h"

#include <cstdint>
#include <cstring>

#include "plugin/engine/dsp/FloatToInt.h"

namespace {

constexpr std::uint32_t kFloatSignBit = 0x80000000u;
constexpr std::uint32_t kQuarterTurn = 0x40000000u;

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double doubleOf(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Arithmetic shift right of a 32-bit word read as signed.
std::uint32_t shiftRightSigned(std::uint32_t word, unsigned count) {
  const std::uint32_t shifted = word >> count;
  const bool negative = (word & kFloatSignBit) != 0;
  return negative ? shifted | ~(0xffffffffu >> count) : shifted;
}

}  // namespace

float fastExp(double x) {
  const double y = x * static_cast<double>(1.4408f);
  double m;
  std::uint32_t exponent;
  if (y >= 0.0) {
    const std::uint32_t n = static_cast<std::uint32_t>(truncateToInt32(y));
    m = y - static_cast<double>(static_cast<std::int32_t>(n - 1u));
    exponent = n + 1023u;
  } else {
    const std::uint32_t t = static_cast<std::uint32_t>(truncateToInt32(y + 1023.0));
    m = y - static_cast<double>(static_cast<std::int32_t>(t - 1024u));
    exponent = t;
  }
  const std::uint64_t bits = bitsOf(m);
  const std::uint32_t high = static_cast<std::uint32_t>(bits >> 32) & 0x800fffffu;
  const std::uint32_t a = shiftRightSigned(high, 11);
  const std::uint32_t b = shiftRightSigned(high, 2);
  const std::uint32_t newHigh = (exponent << 20) + a * a + 3u * b;
  const std::uint64_t result = (static_cast<std::uint64_t>(newHigh) << 32) | (bits & 0xffffffffu);
  return static_cast<float>(doubleOf(result));
}

float fastCosine(float x) {
  const float scaled = x * -radiansToPhase;
  const std::uint32_t phase = kQuarterTurn - static_cast<std::uint32_t>(truncateToInt32(scaled));
  return sinePolynomial(static_cast<float>(static_cast<std::int32_t>(phase)) * phaseToRadians);
}
