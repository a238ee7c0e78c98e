#include "plugin/engine/ControllerSettings.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "plugin/engine/ParameterIndex.h"

namespace {

constexpr unsigned char unassignedByte = 0xFF;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Assigns count controllers from firstController on to the parameters from firstParameter on.
void assignRange(int32_t* map, int32_t firstController, int32_t firstParameter, int32_t count) {
  for (int32_t i = 0; i < count; ++i) map[firstController + i] = firstParameter + i;
}

}  // namespace

void setDefaultControllerMap(int32_t* map) {
  std::fill(map, map + controllerCount, unassignedController);
  map[0] = ParameterIndex::Resonance1;
  map[1] = ParameterIndex::Cutoff1;
  map[7] = ParameterIndex::Volume;
  assignRange(map, 14, ParameterIndex::FilterType1, 18);
  map[71] = ParameterIndex::Resonance1;
  map[74] = ParameterIndex::Cutoff1;
  assignRange(map, 85, ParameterIndex::Lfo2Shape, 11);
  assignRange(map, 102, ParameterIndex::StepSend, 19);
}

bool readSettingsFile(const std::string& path, int32_t& settingByte, int32_t* map) {
  const File file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  unsigned char bytes[settingsFileSize];
  if (std::fread(bytes, 1, settingsFileSize, file.get()) != settingsFileSize) return false;
  settingByte = bytes[0];
  for (int32_t controller = 0; controller < controllerCount; ++controller) {
    const int32_t parameter = bytes[1 + controller];
    map[controller] = ParameterIndex::isValid(parameter) ? parameter : unassignedController;
  }
  return true;
}

bool writeSettingsFile(const std::string& path, int32_t settingByte, const int32_t* map) {
  unsigned char bytes[settingsFileSize];
  bytes[0] = static_cast<unsigned char>(settingByte & 0xFF);
  for (int32_t controller = 0; controller < controllerCount; ++controller) {
    const int32_t parameter = map[controller];
    bytes[1 + controller] =
        ParameterIndex::isValid(parameter) ? static_cast<unsigned char>(parameter) : unassignedByte;
  }
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  const bool written = std::fwrite(bytes, 1, settingsFileSize, file.get()) == settingsFileSize;
  return std::fclose(file.release()) == 0 && written;
}
