#include "plugin/framework/AudioEffect.h"

#include "plugin/framework/AEffEditor.h"
#include "plugin/framework/EffectCallbacks.h"
#include "plugin/framework/EffectFlags.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/ValueText.h"

#include <cmath>
#include <cstring>

namespace {

constexpr VstInt32 kNoEffectId = 0x4E6F4566;  // 'NoEf'

// The opcodes of this class whose answer is written through the pointer argument.
bool answersThroughPointer(VstInt32 opcode) {
  switch (opcode) {
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
      return true;
    default:
      return false;
  }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster),
      editor(nullptr),
      sampleRate(44100.0f),
      blockSize(1024),
      numPrograms(numPrograms),
      numParams(numParams),
      curProgram(0) {
  std::memset(&cEffect, 0, sizeof(cEffect));
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchEffectClass;
  cEffect.process = processClass;
  cEffect.setParameter = setParameterClass;
  cEffect.getParameter = getParameterClass;
  cEffect.numPrograms = numPrograms;
  cEffect.numParams = numParams;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.flags = effFlagsCanReplacing;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.uniqueID = kNoEffectId;
  cEffect.version = 1;
  cEffect.processReplacing = processClassReplacing;
  cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect() {
  delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
  editor = newEditor;
  setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
  if (state) {
    cEffect.flags |= flag;
  } else {
    cEffect.flags &= ~flag;
  }
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  // A host that passes no place for the answer gets 0, and nothing is written.
  if (!ptr && answersThroughPointer(opcode)) return 0;
  char* const text = static_cast<char*>(ptr);
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      if (value < numPrograms) setProgram(static_cast<VstInt32>(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      setProgramName(text);
      return 0;
    case effGetProgramName:
      getProgramName(text);
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, text);
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, text);
      return 0;
    case effGetParamName:
      getParameterName(index, text);
      return 0;
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<VstInt32>(value));
      return 0;
    case effMainsChanged:
      if (value != 0) {
        resume();
      } else {
        suspend();
      }
      return 0;
    case effEditGetRect:
      return editor ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
      return editor ? editor->open(ptr) : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effIdentify:
      return kEffectIdentify;
    case effGetChunk:
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
      return 0;
  }
}

void AudioEffect::canProcessReplacing(bool state) {
  setFlag(effFlagsCanReplacing, state);
}
void AudioEffect::canDoubleReplacing(bool state) {
  setFlag(effFlagsCanDoubleReplacing, state);
}
void AudioEffect::programsAreChunks(bool state) {
  setFlag(effFlagsProgramChunks, state);
}
void AudioEffect::hasVu(bool state) {
  setFlag(effFlagsHasVu, state);
}
void AudioEffect::hasClip(bool state) {
  setFlag(effFlagsHasClip, state);
}
void AudioEffect::canMono(bool state) {
  setFlag(effFlagsCanMono, state);
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstInt32 AudioEffect::getMasterVersion() {
  const auto version = static_cast<VstInt32>(callHost(audioMasterVersion));
  return version != 0 ? version : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
  return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
  callHost(audioMasterIdle);
}

bool AudioEffect::isInputConnected(VstInt32 input) {
  if (!audioMaster) return true;
  return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
  if (!audioMaster) return true;
  return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
  if (value <= 0.0f) {
    writeCutText("-oo", text, maxLen);
  } else {
    float2string(20.0f * std::log10(value), text, maxLen);
  }
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
  float2string(samples == 0.0f ? 0.0f : getSampleRate() / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
  float2string(samples * 1000.0f / getSampleRate(), text, maxLen);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
  writeFloatText(value, text, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
  writeIntText(value, text, maxLen);
}
