#pragma once

#include "plugin/framework/AEffEditor.h"
#include "plugin/framework/AudioEffectExtended.h"
#include "plugin/framework/tests/CallLog.h"

// Answers of the recording effect and editor: an int result that shows sign widening, a full-width
// answer and true for every bool operation.
constexpr VstInt32 kIntAnswer = -7;
constexpr VstIntPtr kWideAnswer = 0x123456789ABLL;

// An editor that logs every operation into the effect's log and answers true.
class RecordingEditor : public AEffEditor {
 public:
  RecordingEditor(AudioEffect* effect, CallLog& log) : AEffEditor(effect), log(log) {}

  bool getRect(ERect** rect) override { return log.add("editor.getRect", rect), true; }
  bool open(void* ptr) override { return log.add("editor.open", ptr), true; }
  void close() override { log.add("editor.close"); }
  void idle() override { log.add("editor.idle"); }
  bool onKeyDown(VstKeyCode& key) override { return logKey("editor.onKeyDown", key), true; }
  bool onKeyUp(VstKeyCode& key) override { return logKey("editor.onKeyUp", key), true; }
  bool onWheel(float distance) override { return log.add("editor.onWheel", distance), true; }
  bool setKnobMode(VstInt32 mode) override { return log.add("editor.setKnobMode", mode), true; }

 private:
  void logKey(const char* name, const VstKeyCode& key) {
    log.add(name, key.character, static_cast<VstInt32>(key.virt), static_cast<VstInt32>(key.modifier));
  }

  CallLog& log;
};

// An effect that logs every operation the dispatcher can reach, the deprecated ones included.
class RecordingEffect : public AudioEffectX {
 public:
  static constexpr VstInt32 kPrograms = 4;
  static constexpr VstInt32 kParameters = 6;

  explicit RecordingEffect(audioMasterCallback audioMaster = nullptr)
      : AudioEffectX(audioMaster, kPrograms, kParameters) {}

  CallLog log;

  void open() override { log.add("open"); }
  void close() override { log.add("close"); }
  void suspend() override { log.add("suspend"); }
  void resume() override { log.add("resume"); }
  void setSampleRate(float rate) override { log.add("setSampleRate", rate); }
  void setBlockSize(VstInt32 size) override { log.add("setBlockSize", size); }
  void processReplacing(float** in, float** out, VstInt32 frames) override {
    log.add("processReplacing", in, out, frames);
  }
  void processDoubleReplacing(double** in, double** out, VstInt32 frames) override {
    log.add("processDoubleReplacing", in, out, frames);
  }
  void setParameter(VstInt32 index, float value) override { log.add("setParameter", index, value); }
  float getParameter(VstInt32 index) override { return log.add("getParameter", index), 0.25f; }
  VstInt32 getProgram() override { return log.add("getProgram"), kIntAnswer; }
  void setProgram(VstInt32 program) override { log.add("setProgram", program); }
  void setProgramName(char* name) override { log.add("setProgramName", name); }
  void getProgramName(char* name) override { log.add("getProgramName", name); }
  void getParameterLabel(VstInt32 index, char* text) override { log.add("getParameterLabel", index, text); }
  void getParameterDisplay(VstInt32 index, char* text) override {
    log.add("getParameterDisplay", index, text);
  }
  void getParameterName(VstInt32 index, char* text) override { log.add("getParameterName", index, text); }
  VstInt32 getChunk(void** data, bool isPreset) override {
    return log.add("getChunk", data, isPreset), kIntAnswer;
  }
  VstInt32 setChunk(void* data, VstInt32 size, bool isPreset) override {
    return log.add("setChunk", data, size, isPreset), kIntAnswer;
  }
  void process(float** in, float** out, VstInt32 frames) override { log.add("process", in, out, frames); }
  float getVu() override { return log.add("getVu"), 1.0f; }

  VstInt32 processEvents(VstEvents* events) override { return log.add("processEvents", events), kIntAnswer; }
  bool canParameterBeAutomated(VstInt32 index) override {
    return log.add("canParameterBeAutomated", index), true;
  }
  bool string2parameter(VstInt32 index, char* text) override {
    return log.add("string2parameter", index, text), true;
  }
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override {
    return log.add("getProgramNameIndexed", category, index, text), true;
  }
  bool getInputProperties(VstInt32 index, VstPinProperties* p) override {
    return log.add("getInputProperties", index, p), true;
  }
  bool getOutputProperties(VstInt32 index, VstPinProperties* p) override {
    return log.add("getOutputProperties", index, p), true;
  }
  VstInt32 getPlugCategory() override { return log.add("getPlugCategory"), kIntAnswer; }
  bool offlineNotify(VstAudioFile* files, VstInt32 count, bool start) override {
    return log.add("offlineNotify", files, count, start), true;
  }
  bool offlinePrepare(VstOfflineTask* task, VstInt32 count) override {
    return log.add("offlinePrepare", task, count), true;
  }
  bool offlineRun(VstOfflineTask* task, VstInt32 count) override {
    return log.add("offlineRun", task, count), true;
  }
  bool processVariableIo(VstVariableIo* io) override { return log.add("processVariableIo", io), true; }
  bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override {
    return log.add("setSpeakerArrangement", in, out), true;
  }
  bool setBypass(bool onOff) override { return log.add("setBypass", onOff), true; }
  bool getEffectName(char* text) override { return log.add("getEffectName", text), true; }
  bool getVendorString(char* text) override { return log.add("getVendorString", text), true; }
  bool getProductString(char* text) override { return log.add("getProductString", text), true; }
  VstInt32 getVendorVersion() override { return log.add("getVendorVersion"), kIntAnswer; }
  VstIntPtr vendorSpecific(VstInt32 a, VstIntPtr b, void* ptr, float f) override {
    return log.add("vendorSpecific", a, b, ptr, f), kWideAnswer;
  }
  VstInt32 canDo(char* text) override { return log.add("canDo", text), kIntAnswer; }
  VstInt32 getGetTailSize() override { return log.add("getGetTailSize"), kIntAnswer; }
  bool getParameterProperties(VstInt32 index, VstParameterProperties* p) override {
    return log.add("getParameterProperties", index, p), true;
  }
  VstInt32 getVstVersion() override { return log.add("getVstVersion"), kIntAnswer; }
  VstInt32 getMidiProgramName(VstInt32 channel, MidiProgramName* name) override {
    return log.add("getMidiProgramName", channel, name), kIntAnswer;
  }
  VstInt32 getCurrentMidiProgram(VstInt32 channel, MidiProgramName* name) override {
    return log.add("getCurrentMidiProgram", channel, name), kIntAnswer;
  }
  VstInt32 getMidiProgramCategory(VstInt32 channel, MidiProgramCategory* category) override {
    return log.add("getMidiProgramCategory", channel, category), kIntAnswer;
  }
  bool hasMidiProgramsChanged(VstInt32 channel) override {
    return log.add("hasMidiProgramsChanged", channel), true;
  }
  bool getMidiKeyName(VstInt32 channel, MidiKeyName* name) override {
    return log.add("getMidiKeyName", channel, name), true;
  }
  bool beginSetProgram() override { return log.add("beginSetProgram"), true; }
  bool endSetProgram() override { return log.add("endSetProgram"), true; }
  bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override {
    return log.add("getSpeakerArrangement", in, out), true;
  }
  VstInt32 getNextShellPlugin(char* name) override { return log.add("getNextShellPlugin", name), kIntAnswer; }
  VstInt32 startProcess() override { return log.add("startProcess"), kIntAnswer; }
  VstInt32 stopProcess() override { return log.add("stopProcess"), kIntAnswer; }
  VstInt32 setTotalSampleToProcess(VstInt32 value) override {
    return log.add("setTotalSampleToProcess", value), kIntAnswer;
  }
  bool setPanLaw(VstInt32 type, float value) override { return log.add("setPanLaw", type, value), true; }
  VstInt32 beginLoadBank(VstPatchChunkInfo* info) override {
    return log.add("beginLoadBank", info), kIntAnswer;
  }
  VstInt32 beginLoadProgram(VstPatchChunkInfo* info) override {
    return log.add("beginLoadProgram", info), kIntAnswer;
  }
  bool setProcessPrecision(VstInt32 precision) override {
    return log.add("setProcessPrecision", precision), true;
  }
  VstInt32 getNumMidiInputChannels() override { return log.add("getNumMidiInputChannels"), kIntAnswer; }
  VstInt32 getNumMidiOutputChannels() override { return log.add("getNumMidiOutputChannels"), kIntAnswer; }

  // Operations of deprecated opcodes: the dispatcher must reach none of them.
  VstInt32 getNumCategories() override { return log.add("getNumCategories"), kIntAnswer; }
  bool copyProgram(VstInt32 destination) override { return log.add("copyProgram", destination), true; }
  void inputConnected(VstInt32 index, bool state) override { log.add("inputConnected", index, state); }
  void outputConnected(VstInt32 index, bool state) override { log.add("outputConnected", index, state); }
  VstInt32 reportCurrentPosition() override { return log.add("reportCurrentPosition"), kIntAnswer; }
  float* reportDestinationBuffer() override { return log.add("reportDestinationBuffer"), nullptr; }
  void setBlockSizeAndSampleRate(VstInt32 size, float rate) override {
    log.add("setBlockSizeAndSampleRate", size, rate);
  }
  bool getErrorText(char* text) override { return log.add("getErrorText", text), true; }
  VstInt32 fxIdle() override { return log.add("fxIdle"), kIntAnswer; }
  void* getIcon() override { return log.add("getIcon"), this; }
  bool setViewPosition(VstInt32 x, VstInt32 y) override { return log.add("setViewPosition", x, y), true; }
  bool keysRequired() override { return log.add("keysRequired"), true; }

  // Attaches a recording editor that logs into this effect's log.
  void attachEditor() { setEditor(new RecordingEditor(this, log)); }
};
