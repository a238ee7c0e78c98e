#include "plugin/framework/ValueText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kFloatWidth = 8;  // characters for sign, digits and point
constexpr char kHuge[] = "Huge!";

// Writes the decimal digits of value (at least `width` of them, zero-padded) and answers the end.
char* writeDigits(std::uint64_t value, int width, char* out) {
  char reversed[24];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count < width) reversed[count++] = '0';
  while (count > 0) *out++ = reversed[--count];
  return out;
}

int digitCount(std::uint64_t value) {
  int count = 1;
  while (value >= 10) {
    value /= 10;
    ++count;
  }
  return count;
}

}  // namespace

void writeCutText(const char* source, char* text, VstInt32 maxLen) {
  VstInt32 length = 0;
  while (length < maxLen && source[length] != 0) {
    text[length] = source[length];
    ++length;
  }
  text[length] = 0;
}

void writeFloatText(float value, char* text, VstInt32 maxLen) {
  const double exact = value;  // compared in double: 99999999 has no float of its own
  if (!(exact >= -9999999.0 && exact <= 99999999.0)) {  // NaN too
    writeCutText(kHuge, text, maxLen);
    return;
  }
  const bool negative = value < 0.0f;
  const double magnitude = std::fabs(exact);
  const auto integerPart = static_cast<std::uint64_t>(magnitude);
  const int used = (negative ? 1 : 0) + digitCount(integerPart);

  char buffer[kFloatWidth + 1];
  char* out = buffer;
  if (negative) *out++ = '-';
  out = writeDigits(integerPart, 1, out);
  if (used < kFloatWidth) {
    *out++ = '.';
    const int fractionDigits = kFloatWidth - used - 1;
    if (fractionDigits > 0) {
      const double scale = std::pow(10.0, fractionDigits);
      const double scaled = std::min((magnitude - static_cast<double>(integerPart)) * scale, scale - 1.0);
      out = writeDigits(static_cast<std::uint64_t>(scaled), fractionDigits, out);
    }
  }
  *out = 0;
  writeCutText(buffer, text, maxLen);
}

void writeIntText(VstInt32 value, char* text, VstInt32 maxLen) {
  if (value >= 100000000) {
    writeCutText(kHuge, text, maxLen);
    return;
  }
  char buffer[16];
  char* out = buffer;
  if (value < 0) *out++ = '-';
  const std::int64_t wide = value;
  out = writeDigits(static_cast<std::uint64_t>(wide < 0 ? -wide : wide), 1, out);
  *out = 0;
  writeCutText(buffer, text, maxLen);
}
