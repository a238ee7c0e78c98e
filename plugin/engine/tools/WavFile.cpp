#include "plugin/engine/tools/WavFile.h"

#include <cstdint>
#include <fstream>

namespace {

void put32(std::ofstream& file, uint32_t value) {
  const char bytes[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
  file.write(bytes, 4);
}

void put16(std::ofstream& file, uint16_t value) {
  const char bytes[2] = {char(value), char(value >> 8)};
  file.write(bytes, 2);
}

}  // namespace

bool writeWavFile(const std::string& path, const StereoRendering& rendering) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  constexpr uint16_t floatFormat = 3;
  constexpr uint16_t channels = 2;
  constexpr uint16_t bytesPerSample = 4;
  const uint32_t frames = static_cast<uint32_t>(rendering.left.size());
  const uint32_t rate = static_cast<uint32_t>(rendering.sampleRate);
  const uint32_t dataBytes = frames * channels * bytesPerSample;
  file.write("RIFF", 4);
  put32(file, 36 + dataBytes);
  file.write("WAVEfmt ", 8);
  put32(file, 16);
  put16(file, floatFormat);
  put16(file, channels);
  put32(file, rate);
  put32(file, rate * channels * bytesPerSample);
  put16(file, channels * bytesPerSample);
  put16(file, bytesPerSample * 8);
  file.write("data", 4);
  put32(file, dataBytes);
  for (uint32_t i = 0; i < frames; ++i) {
    file.write(reinterpret_cast<const char*>(&rendering.left[i]), bytesPerSample);
    file.write(reinterpret_cast<const char*>(&rendering.right[i]), bytesPerSample);
  }
  return static_cast<bool>(file);
}
