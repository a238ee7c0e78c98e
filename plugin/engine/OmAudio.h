#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "plugin/engine/ControllerSettings.h"
#include "plugin/engine/OmSoundEngine.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ProgramRecord.h"
#include "plugin/framework/AudioEffectExtended.h"

// The instrument: a stereo synthesiser without audio inputs. It owns the programs, the live
// parameter values, the MIDI key states and the learnable controller map.
class OmAudio : public AudioEffectX {
 public:
  static constexpr VstInt32 keyCount = 128;

  explicit OmAudio(audioMasterCallback audioMaster);
  ~OmAudio() override;

  void suspend() override;
  void resume() override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;

  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

  VstInt32 processEvents(VstEvents* events) override;

  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstInt32 canDo(char* text) override;
  VstInt32 getPlugCategory() override;

  // Renders like processReplacing.
  virtual void processSamples(float** inputs, float** outputs, VstInt32 sampleFrames);
  // The display text of any value of a parameter, not only of the live one.
  virtual void formatParameterValue(VstInt32 index, float value, char* text);
  // The folder of the plug-in's DLL without a trailing backslash (at most 255 characters), or the
  // empty text when the DLL's path cannot be read.
  virtual void getPluginFolder(char* text);

  // Arms learning: the next controller message is mapped to parameter index.
  void setLearnParameter(VstInt32 index);
  void noteOn(int8_t key, int8_t velocity);
  void noteOff(int8_t key);

  // The host's tempo in beats per minute (120 when it gives none), its position in quarter notes
  // (0 when it gives none) and whether its transport runs (true when it does not tell).
  float getTempo();
  double getPpqPos();
  bool isPlaying();

  // Puts the signal path back to its starting state.
  void resetDsp();

  float lfo1Output = 0.0f;
  float lfo2Output = 0.0f;
  VstInt32 currentStep = 0;
  bool limiterActive = false;
  std::unique_ptr<ProgramRecord[]> programs;
  float keyTarget[keyCount] = {};
  float gate = 0.0f;
  bool sleeping = false;
  float pitchBend = 1.0f;
  float values[ParameterIndex::count] = {};
  float lfo1Phase = 0.0f;
  float lfo1LastPhase = 0.0f;
  double lfo1Beats = 0.0;
  float lfo2Phase = 0.0f;
  float lfo2LastPhase = 0.0f;
  double lfo2Beats = 0.0;
  double stepBeats = 0.0;
  float fadeGain = 1.0f;
  std::atomic<VstInt32> learnTarget{-1};
  // The signal path; made before the constructor's body selects the first program.
  std::unique_ptr<OmSoundEngine> sound = std::make_unique<OmSoundEngine>(*this);
  VstInt32 settingByte = defaultSettingByte;
  VstInt32 controllerMap[controllerCount] = {};

 private:
  void handleMidi(VstInt32 status, VstInt32 data1, VstInt32 data2);
  void releaseAllKeys();
  // The path of the settings file, or the empty text when the plug-in's folder is unknown.
  std::string settingsFilePath();
};
