#include "plugin/engine/presets/PresetImage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "plugin/engine/OmAudio.h"

// Both images start with the same header:
//   0  "CcnK"       chunk magic
//   4  byteSize     bytes after this field
//   8  fx magic     "FxCk" for a program, "FxBk" for a bank
//  12  version      1
//  16  fxID         "OmFS"
//  20  fxVersion    1
//  24  count        values of a program, programs of a bank
// A program goes on with its name in a zero-filled field of 28 bytes at 28 and its values as
// floats from 56. A bank goes on with 128 reserved zero bytes and its programs from 156, each a
// complete program image.
namespace {

constexpr std::size_t byteSizeOffset = 4;
constexpr std::size_t fxMagicOffset = 8;
constexpr std::size_t versionOffset = 12;
constexpr std::size_t fxIdOffset = 16;
constexpr std::size_t fxVersionOffset = 20;
constexpr std::size_t countOffset = 24;
constexpr std::size_t nameOffset = 28;
constexpr std::size_t nameFieldSize = 28;
// A written name fills at most the first 26 bytes of its field, so the last two stay zero.
constexpr std::size_t writtenNameBytes = 26;
constexpr std::size_t valuesOffset = nameOffset + nameFieldSize;
constexpr std::size_t bankProgramsOffset = 156;
constexpr std::size_t valueSize = 4;
// The chunk magic and byteSize are not counted by byteSize.
constexpr std::size_t uncountedHeaderBytes = 8;
// Room for a program name as the effect writes it into a host's buffer.
constexpr std::size_t programNameBuffer = 256;

constexpr std::size_t tagSize = 4;
const char chunkMagic[] = "CcnK";
const char programMagic[] = "FxCk";
const char bankMagic[] = "FxBk";
const char fxId[] = "OmFS";
constexpr uint32_t formatVersion = 1;
constexpr uint32_t fxVersion = 1;

static_assert(singlePresetSize == valuesOffset + valueSize * ParameterIndex::count, "program image size");
static_assert(bankSize == bankProgramsOffset + singlePresetSize * programCount, "bank image size");

void putUnsigned(unsigned char* at, uint32_t value) {
  at[0] = static_cast<unsigned char>(value >> 24);
  at[1] = static_cast<unsigned char>(value >> 16);
  at[2] = static_cast<unsigned char>(value >> 8);
  at[3] = static_cast<unsigned char>(value);
}

void putFloat(unsigned char* at, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  putUnsigned(at, bits);
}

uint32_t getUnsigned(const unsigned char* at) {
  return (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | uint32_t{at[3]};
}

float getFloat(const unsigned char* at) {
  const uint32_t bits = getUnsigned(at);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void writeHeader(unsigned char* image, const char* fxMagic, std::size_t imageSize, uint32_t count) {
  std::memcpy(image, chunkMagic, tagSize);
  putUnsigned(image + byteSizeOffset, static_cast<uint32_t>(imageSize - uncountedHeaderBytes));
  std::memcpy(image + fxMagicOffset, fxMagic, tagSize);
  putUnsigned(image + versionOffset, formatVersion);
  std::memcpy(image + fxIdOffset, fxId, tagSize);
  putUnsigned(image + fxVersionOffset, fxVersion);
  putUnsigned(image + countOffset, count);
}

// Writes a complete program image into a zeroed block of singlePresetSize bytes.
void writeProgram(unsigned char* block, const char* name, const float* values) {
  writeHeader(block, programMagic, singlePresetSize, ParameterIndex::count);
  std::memcpy(block + nameOffset, name, strnlen(name, writtenNameBytes));
  for (int32_t index = 0; index < ParameterIndex::count; ++index) {
    putFloat(block + valuesOffset + valueSize * index, values[index]);
  }
}

// One program read from an image and found sound, ready to apply.
struct ImageProgram {
  char name[programNameCapacity];
  uint32_t count;
  float values[ParameterIndex::count];
};

bool hasHeader(const unsigned char* data, std::size_t size, std::size_t headerSize, const char* fxMagic) {
  return data && size >= headerSize && std::memcmp(data, chunkMagic, tagSize) == 0 &&
         std::memcmp(data + fxMagicOffset, fxMagic, tagSize) == 0 &&
         std::memcmp(data + fxIdOffset, fxId, tagSize) == 0;
}

// Reads the program whose image starts at block, of which available bytes exist. False when the
// image is cut short, holds more values than a program has or a value that is not finite. Values
// outside 0..1 are brought to the nearest end, as no parameter plays beyond it.
bool readProgram(const unsigned char* block, std::size_t available, ImageProgram& program) {
  if (available < valuesOffset) return false;
  const uint32_t count = getUnsigned(block + countOffset);
  if (count > ParameterIndex::count || available - valuesOffset < valueSize * count) return false;
  for (uint32_t index = 0; index < count; ++index) {
    const float value = getFloat(block + valuesOffset + valueSize * index);
    if (!std::isfinite(value)) return false;
    program.values[index] = std::clamp(value, 0.0f, 1.0f);
  }
  program.count = count;
  // The text up to the first zero byte, at most 23 characters: a name without its zero is cut.
  const char* field = reinterpret_cast<const char*>(block + nameOffset);
  const std::size_t length = strnlen(field, programNameCapacity - 1);
  std::memcpy(program.name, field, length);
  program.name[length] = '\0';
  return true;
}

std::size_t imageSize(const ImageProgram& program) {
  return valuesOffset + valueSize * program.count;
}

}  // namespace

std::vector<unsigned char> buildSinglePresetData(OmAudio& effect) {
  char name[programNameBuffer] = {};
  effect.getProgramName(name);
  float values[ParameterIndex::count];
  for (int32_t index = 0; index < ParameterIndex::count; ++index) values[index] = effect.getParameter(index);

  std::vector<unsigned char> image(singlePresetSize);
  writeProgram(image.data(), name, values);
  return image;
}

std::vector<unsigned char> buildBankData(OmAudio& effect) {
  std::vector<unsigned char> image(bankSize);
  writeHeader(image.data(), bankMagic, bankSize, programCount);
  for (int32_t program = 0; program < programCount; ++program) {
    char name[programNameBuffer] = {};
    effect.getProgramNameIndexed(0, program, name);
    writeProgram(image.data() + bankProgramsOffset + singlePresetSize * program, name,
                 effect.programs[program].values);
  }
  return image;
}

bool loadSinglePresetData(OmAudio& effect, const unsigned char* data, std::size_t size) {
  ImageProgram program;
  if (!hasHeader(data, size, valuesOffset, programMagic) || !readProgram(data, size, program)) return false;

  effect.setProgramName(program.name);
  for (uint32_t index = 0; index < program.count; ++index) {
    effect.setParameter(static_cast<int32_t>(index), program.values[index]);
  }
  effect.updateDisplay();
  return true;
}

bool loadBankData(OmAudio& effect, const unsigned char* data, std::size_t size) {
  if (!hasHeader(data, size, bankProgramsOffset, bankMagic)) return false;
  const uint32_t count = getUnsigned(data + countOffset);
  if (count > static_cast<uint32_t>(programCount)) return false;

  std::vector<ImageProgram> bank(count);
  std::size_t position = bankProgramsOffset;
  for (ImageProgram& program : bank) {
    if (!readProgram(data + position, size - position, program)) return false;
    position += imageSize(program);
  }

  for (uint32_t p = 0; p < count; ++p) {
    ProgramRecord& record = effect.programs[p];
    copyProgramName(record.name, bank[p].name);
    std::copy(bank[p].values, bank[p].values + bank[p].count, record.values);
  }
  effect.setProgram(0);
  effect.updateDisplay();
  return true;
}
