#pragma once

#include "plugin/framework/AEffect.h"
#include "plugin/framework/VstTypes.h"

class AEffEditor;

// The base of a VST 2.4 effect: owns the AEffect record the host talks through, keeps the host's
// callback, the editor, the sample rate, the block size and the program and parameter counts, and
// maps the host's opcodes 0 to 24 onto virtual operations with defaults.
class AudioEffect {
 public:
  AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
  virtual ~AudioEffect();

  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  // Called by the host.
  virtual void open() {}
  virtual void close() {}
  virtual void suspend() {}
  virtual void resume() {}
  virtual void setSampleRate(float sampleRate) { this->sampleRate = sampleRate; }
  virtual void setBlockSize(VstInt32 blockSize) { this->blockSize = blockSize; }
  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, VstInt32 /*sampleFrames*/) {}

  // Parameters.
  virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
  virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
  // Sets the parameter, then tells the host that it changed.
  virtual void setParameterAutomated(VstInt32 index, float value);

  // Programs and texts; text buffers belong to the host.
  virtual VstInt32 getProgram() { return curProgram; }
  virtual void setProgram(VstInt32 program) { curProgram = program; }
  virtual void setProgramName(char* /*name*/) {}
  virtual void getProgramName(char* name) { *name = 0; }
  virtual void getParameterLabel(VstInt32 /*index*/, char* label) { *label = 0; }
  virtual void getParameterDisplay(VstInt32 /*index*/, char* text) { *text = 0; }
  virtual void getParameterName(VstInt32 /*index*/, char* text) { *text = 0; }
  virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/ = false) { return 0; }
  virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/ = false) { return 0; }

  // The record's fields.
  virtual void setUniqueID(VstInt32 iD) { cEffect.uniqueID = iD; }
  virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
  virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
  virtual void canProcessReplacing(bool state = true);
  virtual void canDoubleReplacing(bool state = true);
  virtual void programsAreChunks(bool state = true);
  virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }

  virtual AEffEditor* getEditor() { return editor; }
  virtual AEffect* getAeffect() { return &cEffect; }
  virtual float getSampleRate() { return sampleRate; }
  virtual VstInt32 getBlockSize() { return blockSize; }

  // Calls to the host.
  virtual VstInt32 getMasterVersion();
  virtual VstInt32 getCurrentUniqueId();
  virtual void masterIdle();
  virtual bool isInputConnected(VstInt32 input);
  virtual bool isOutputConnected(VstInt32 output);

  // Display texts; text holds maxLen + 1 bytes and receives at most maxLen characters.
  virtual void dB2string(float value, char* text, VstInt32 maxLen);
  virtual void Hz2string(float samples, char* text, VstInt32 maxLen);
  virtual void ms2string(float samples, char* text, VstInt32 maxLen);
  virtual void float2string(float value, char* text, VstInt32 maxLen);
  virtual void int2string(VstInt32 value, char* text, VstInt32 maxLen);

  // Deprecated.
  virtual void process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}
  virtual float getVu() { return 0.0f; }
  virtual void hasVu(bool state = true);
  virtual void hasClip(bool state = true);
  virtual void canMono(bool state = true);
  virtual void setRealtimeQualities(VstInt32 qualities) { cEffect.realQualities = qualities; }
  virtual void setOfflineQualities(VstInt32 qualities) { cEffect.offQualities = qualities; }

  // Keeps the editor, which the effect then owns and deletes with itself; sets the has-editor flag
  // for an editor and clears it for null.
  void setEditor(AEffEditor* editor);

 protected:
  // Sets or clears one bit of the record's flags.
  void setFlag(VstInt32 flag, bool state);
  // Calls the host with this effect's record; 0 without a host.
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  audioMasterCallback audioMaster;
  AEffEditor* editor;
  float sampleRate;
  VstInt32 blockSize;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 curProgram;
  AEffect cEffect;
};
