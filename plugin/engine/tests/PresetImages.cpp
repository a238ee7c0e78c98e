#include "PresetImages.h"

#include <algorithm>
#include <cstring>

namespace PresetImages {

namespace {

constexpr std::size_t nameFieldSize = 28;
constexpr std::size_t reservedBankBytes = 128;

void appendTag(Bytes& image, const std::string& tag) {
  image.insert(image.end(), tag.begin(), tag.begin() + 4);
}

void appendUnsigned(Bytes& image, uint32_t value) {
  image.resize(image.size() + 4);
  putUnsigned(image, image.size() - 4, value);
}

void appendHeader(Bytes& image, const std::string& fxMagic, const std::string& id, uint32_t count) {
  appendTag(image, "CcnK");
  appendUnsigned(image, 0);  // byteSize, set when the image is complete
  appendTag(image, fxMagic);
  appendUnsigned(image, 1);
  appendTag(image, id);
  appendUnsigned(image, 1);
  appendUnsigned(image, count);
}

void setByteSize(Bytes& image) {
  putUnsigned(image, 4, static_cast<uint32_t>(image.size() - 8));
}

}  // namespace

Bytes program(const Program& program, const std::string& id) {
  Bytes image;
  appendHeader(image, "FxCk", id, static_cast<uint32_t>(program.values.size()));
  Bytes name(nameFieldSize, 0);
  std::memcpy(name.data(), program.name.data(), std::min(program.name.size(), nameFieldSize));
  image.insert(image.end(), name.begin(), name.end());
  for (float value : program.values) {
    image.resize(image.size() + 4);
    putFloat(image, image.size() - 4, value);
  }
  setByteSize(image);
  return image;
}

Bytes bank(const std::vector<Program>& programs, const std::string& id) {
  Bytes image;
  appendHeader(image, "FxBk", id, static_cast<uint32_t>(programs.size()));
  image.resize(image.size() + reservedBankBytes, 0);
  for (const Program& p : programs) {
    const Bytes block = program(p, id);
    image.insert(image.end(), block.begin(), block.end());
  }
  setByteSize(image);
  return image;
}

void putUnsigned(Bytes& image, std::size_t offset, uint32_t value) {
  for (int byte = 0; byte < 4; ++byte) {
    image.at(offset + byte) = static_cast<unsigned char>(value >> (24 - 8 * byte));
  }
}

void putFloat(Bytes& image, std::size_t offset, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  putUnsigned(image, offset, bits);
}

uint32_t getUnsigned(const Bytes& image, std::size_t offset) {
  uint32_t value = 0;
  for (int byte = 0; byte < 4; ++byte) value = (value << 8) | image.at(offset + byte);
  return value;
}

float getFloat(const Bytes& image, std::size_t offset) {
  const uint32_t bits = getUnsigned(image, offset);
  float value;
  std::memcpy(&value, &bits, 4);
  return value;
}

}  // namespace PresetImages
