#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Preset images written byte by byte from the format description, to compare the plug-in's
// images with and to build damaged ones from.
namespace PresetImages {

using Bytes = std::vector<unsigned char>;

struct Program {
  std::string name;
  std::vector<float> values;
};

// An fxp image: "CcnK", byteSize, "FxCk", version 1, the id, fxVersion 1, the number of values,
// the name in a 28-byte field (zero-filled; unterminated when 28 characters long), the values.
Bytes program(const Program& program, const std::string& id = "OmFS");
// An fxb image: "CcnK", byteSize, "FxBk", version 1, the id, fxVersion 1, the number of programs,
// 128 zero bytes, the program images.
Bytes bank(const std::vector<Program>& programs, const std::string& id = "OmFS");

// Big-endian fields inside an image.
void putUnsigned(Bytes& image, std::size_t offset, uint32_t value);
void putFloat(Bytes& image, std::size_t offset, float value);
uint32_t getUnsigned(const Bytes& image, std::size_t offset);
float getFloat(const Bytes& image, std::size_t offset);

}  // namespace PresetImages
