#include "plugin/engine/OmAudio.h"

#include <algorithm>
#include <cstring>

#include "plugin/engine/EditorHooks.h"
#include "plugin/engine/FactoryProgramTable.h"
#include "plugin/engine/ParameterText.h"
#include "plugin/engine/dsp/ValueLimits.h"
#include "plugin/framework/ModuleHandle.h"

namespace {

constexpr int32_t uniqueId = ('O' << 24) | ('m' << 16) | ('F' << 8) | 'S';
constexpr int32_t vendorVersion = 1000;
constexpr int32_t effectCategory = 1;
constexpr int32_t pluginPathCapacity = 256;

const char* const productName = "Zintara3";
const char* const vendorName = "Ombix";
const char* const hostCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent", "midiProgramNames",
                                        "receiveVstTimeInfo"};

}  // namespace

OmAudio::OmAudio(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, programCount, ParameterIndex::count) {
  if (audioMaster) {
    setNumInputs(0);
    isSynth(true);
    setUniqueID(uniqueId);
    setNumOutputs(2);
  }
  canProcessReplacing(true);

  programs.reset(new ProgramRecord[programCount]);
  const FactoryProgram* factory = factoryProgramTable();
  for (int32_t program = 0; program < programCount; ++program) {
    std::memcpy(programs[program].name, factory[program].name, programNameCapacity);
    std::copy(factory[program].values, factory[program].values + ParameterIndex::count,
              programs[program].values);
  }
  setProgram(0);

  learnTarget = -1;

  const std::string settingsPath = settingsFilePath();
  if (settingsPath.empty() || !readSettingsFile(settingsPath, settingByte, controllerMap)) {
    settingByte = defaultSettingByte;
    setDefaultControllerMap(controllerMap);
  }

  resetDsp();
  if (editorHooks().create) editorHooks().create(*this);
  AudioEffectX::resume();
}

OmAudio::~OmAudio() {
  programs.reset();
  const std::string settingsPath = settingsFilePath();
  if (!settingsPath.empty()) writeSettingsFile(settingsPath, settingByte, controllerMap);
}

void OmAudio::suspend() {
  releaseAllKeys();
  resetDsp();
  sound->silenceRenderedAhead();
}

void OmAudio::resume() {
  AudioEffectX::resume();
}

void OmAudio::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
  processSamples(inputs, outputs, sampleFrames);
}

void OmAudio::processSamples(float** /*inputs*/, float** outputs, int32_t sampleFrames) {
  sound->processBlock(outputs, sampleFrames);
}

void OmAudio::resetDsp() {
  sound->resetDsp();
}

void OmAudio::setParameter(int32_t index, float value) {
  // Every road of a value passes here: one that is not a finite number counts as 0, so it never
  // sticks in the sound, the programs or the editor.
  value = finiteOrZero(value);
  if (ParameterIndex::isValid(index)) {
    programs[curProgram].values[index] = value;
    values[index] = value;
  }
  if (editor && editorHooks().setParameter) editorHooks().setParameter(*editor, index, value);
}

float OmAudio::getParameter(int32_t index) {
  return ParameterIndex::isValid(index) ? values[index] : 0.0f;
}

void OmAudio::setProgram(int32_t program) {
  if (static_cast<uint32_t>(program) >= static_cast<uint32_t>(programCount)) return;
  curProgram = program;
  for (int32_t index = 0; index < ParameterIndex::count; ++index) {
    setParameter(index, programs[program].values[index]);
  }
  releaseAllKeys();
  resetDsp();
  fadeGain = 0.0f;
}

void OmAudio::setProgramName(char* name) {
  if (name) copyProgramName(programs[curProgram].name, name);
}

void OmAudio::getProgramName(char* name) {
  std::strcpy(name, programs[curProgram].name);
}

bool OmAudio::getProgramNameIndexed(int32_t /*category*/, int32_t index, char* text) {
  if (index < 0 || index >= programCount) return false;
  std::strcpy(text, programs[index].name);
  return true;
}

void OmAudio::getParameterLabel(int32_t index, char* label) {
  writeParameterLabel(index, label);
}

void OmAudio::getParameterName(int32_t index, char* text) {
  writeParameterName(index, text);
}

void OmAudio::getParameterDisplay(int32_t index, char* text) {
  if (ParameterIndex::isValid(index)) {
    formatParameterValue(index, values[index], text);
  } else {
    std::strcpy(text, "Error");
  }
}

void OmAudio::formatParameterValue(int32_t index, float value, char* text) {
  formatParameterText(index, value, text);
}

bool OmAudio::getEffectName(char* name) {
  std::strcpy(name, productName);
  return true;
}

bool OmAudio::getVendorString(char* text) {
  std::strcpy(text, vendorName);
  return true;
}

bool OmAudio::getProductString(char* text) {
  std::strcpy(text, productName);
  return true;
}

int32_t OmAudio::getVendorVersion() {
  return vendorVersion;
}

int32_t OmAudio::canDo(char* text) {
  if (!text) return -1;
  for (const char* capability : hostCapabilities) {
    if (std::strcmp(text, capability) == 0) return 1;
  }
  return -1;
}

int32_t OmAudio::getPlugCategory() {
  return effectCategory;
}

void OmAudio::getPluginFolder(char* text) {
  text[0] = '\0';
  char path[pluginPathCapacity];
  const DWORD length = GetModuleFileNameA(hInstance, path, pluginPathCapacity);
  // A path that fills the whole buffer was cut: its folder is unknown.
  if (length == 0 || length >= static_cast<DWORD>(pluginPathCapacity)) return;
  path[length] = '\0';
  char* lastBackslash = std::strrchr(path, '\\');
  if (!lastBackslash) return;
  *lastBackslash = '\0';
  std::strcpy(text, path);
}

std::string OmAudio::settingsFilePath() {
  char folder[pluginPathCapacity];
  getPluginFolder(folder);
  if (folder[0] == '\0') return std::string();
  return std::string(folder) + '\\' + settingsFileName;
}
