#include "plugin/framework/AudioEffectExtended.h"

#include "plugin/framework/AEffEditor.h"
#include "plugin/framework/EffectFlags.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// The modifier byte a host packs into the float argument of the key opcodes: the low byte of the
// value truncated to an integer (0 for a value no integer holds).
unsigned char modifierByte(float opt) {
  if (!(std::fabs(opt) < 2147483648.0f)) return 0;
  return static_cast<unsigned char>(static_cast<VstInt32>(opt) & 0xFF);
}

VstKeyCode keyFrom(VstInt32 index, VstIntPtr value, float opt) {
  VstKeyCode key{};
  key.character = index;
  key.virt = static_cast<unsigned char>(value & 0xFF);
  key.modifier = modifierByte(opt);
  return key;
}

// The opcodes of this class whose answer is written through the pointer argument (the speaker
// arrangements also through the value argument).
bool answersThroughPointer(VstInt32 opcode) {
  switch (opcode) {
    case effGetProgramNameIndexed:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effGetParameterProperties:
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
    case effGetMidiKeyName:
    case effGetSpeakerArrangement:
    case effShellGetNextPlugin:
      return true;
    default:
      return false;
  }
}

}  // namespace

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

AudioEffectX::~AudioEffectX() = default;

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  // A host that passes no place for the answer gets 0, and nothing is written.
  if (answersThroughPointer(opcode) && (!ptr || (opcode == effGetSpeakerArrangement && value == 0))) return 0;
  char* const text = static_cast<char*>(ptr);
  const auto value32 = static_cast<VstInt32>(value);
  switch (opcode) {
    case effProcessEvents:
      return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
      return canParameterBeAutomated(index);
    case effString2Parameter:
      return string2parameter(index, text);
    case effGetProgramNameIndexed:
      return getProgramNameIndexed(value32, index, text);
    case effGetInputProperties:
      return getInputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetOutputProperties:
      return getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetPlugCategory:
      return getPlugCategory();
    case effOfflineNotify:
      return offlineNotify(static_cast<VstAudioFile*>(ptr), value32, index != 0);
    case effOfflinePrepare:
      return offlinePrepare(static_cast<VstOfflineTask*>(ptr), value32);
    case effOfflineRun:
      return offlineRun(static_cast<VstOfflineTask*>(ptr), value32);
    case effProcessVarIo:
      return processVariableIo(static_cast<VstVariableIo*>(ptr));
    case effSetSpeakerArrangement:
      return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                   static_cast<VstSpeakerArrangement*>(ptr));
    case effSetBypass:
      return setBypass(value != 0);
    case effGetEffectName:
      return getEffectName(text);
    case effGetVendorString:
      return getVendorString(text);
    case effGetProductString:
      return getProductString(text);
    case effGetVendorVersion:
      return getVendorVersion();
    case effVendorSpecific:
      return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return canDo(text);
    case effGetTailSize:
      return getGetTailSize();
    case effGetParameterProperties:
      return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr));
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
      if (editor) {
        VstKeyCode key = keyFrom(index, value, opt);
        return editor->onKeyDown(key);
      }
      return 0;
    case effEditKeyUp:
      if (editor) {
        VstKeyCode key = keyFrom(index, value, opt);
        return editor->onKeyUp(key);
      }
      return 0;
    case effSetEditKnobMode:
      return editor ? editor->setKnobMode(value32) : 0;
    case effGetMidiProgramName:
      return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
      return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
      return hasMidiProgramsChanged(index);
    case effGetMidiKeyName:
      return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr));
    case effBeginSetProgram:
      return beginSetProgram();
    case effEndSetProgram:
      return endSetProgram();
    case effGetSpeakerArrangement:
      return getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                   static_cast<VstSpeakerArrangement**>(ptr));
    case effShellGetNextPlugin:
      return getNextShellPlugin(text);
    case effStartProcess:
      return startProcess();
    case effStopProcess:
      return stopProcess();
    case effSetTotalSampleToProcess:
      return setTotalSampleToProcess(value32);
    case effSetPanLaw:
      return setPanLaw(value32, opt);
    case effBeginLoadBank:
      return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
      return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    case effSetProcessPrecision:
      return setProcessPrecision(value32);
    case effGetNumMidiInputChannels:
      return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels:
      return getNumMidiOutputChannels();
    default:
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}

void AudioEffectX::resume() {
  char receiveMidi[] = "receiveVstMidiEvent";
  if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(receiveMidi) == 1) wantEvents(1);
}

// Host calls.

bool AudioEffectX::beginEdit(VstInt32 index) {
  return callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(VstInt32 index) {
  return callHost(audioMasterEndEdit, index) != 0;
}

bool AudioEffectX::ioChanged() {
  return callHost(audioMasterIOChanged) != 0;
}

double AudioEffectX::updateSampleRate() {
  const VstIntPtr rate = callHost(audioMasterGetSampleRate);
  if (rate > 0) sampleRate = static_cast<float>(rate);
  return sampleRate;
}

VstInt32 AudioEffectX::updateBlockSize() {
  const auto size = static_cast<VstInt32>(callHost(audioMasterGetBlockSize));
  if (size > 0) blockSize = size;
  return blockSize;
}

VstInt32 AudioEffectX::getInputLatency() {
  return static_cast<VstInt32>(callHost(audioMasterGetInputLatency));
}

VstInt32 AudioEffectX::getOutputLatency() {
  return static_cast<VstInt32>(callHost(audioMasterGetOutputLatency));
}

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

VstInt32 AudioEffectX::getCurrentProcessLevel() {
  return static_cast<VstInt32>(callHost(audioMasterGetCurrentProcessLevel));
}

VstInt32 AudioEffectX::getAutomationState() {
  return static_cast<VstInt32>(callHost(audioMasterGetAutomationState));
}

bool AudioEffectX::getHostVendorString(char* text) {
  return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::getHostProductString(char* text) {
  return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

VstInt32 AudioEffectX::getHostVendorVersion() {
  return static_cast<VstInt32>(callHost(audioMasterGetVendorVersion));
}

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg, float floatArg) {
  return callHost(audioMasterVendorSpecific, lArg1, lArg2, ptrArg, floatArg);
}

VstInt32 AudioEffectX::canHostDo(char* text) {
  return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0;
}

VstInt32 AudioEffectX::getHostLanguage() {
  return static_cast<VstInt32>(callHost(audioMasterGetLanguage));
}

void* AudioEffectX::getDirectory() {
  return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool AudioEffectX::updateDisplay() {
  return callHost(audioMasterUpdateDisplay) != 0;
}

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::openFileSelector(VstFileSelect* ptr) {
  return ptr != nullptr && callHost(audioMasterOpenFileSelector, 0, 0, ptr) != 0;
}

bool AudioEffectX::closeFileSelector(VstFileSelect* ptr) {
  return ptr != nullptr && callHost(audioMasterCloseFileSelector, 0, 0, ptr) != 0;
}

bool AudioEffectX::getChunkFile(void* nativePath) {
  return nativePath != nullptr && callHost(audioMasterGetChunkFile, 0, 0, nativePath) != 0;
}

bool AudioEffectX::offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource) {
  return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}

bool AudioEffectX::offlineWrite(VstOfflineTask* offline, VstInt32 option) {
  return callHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}

bool AudioEffectX::offlineStart(VstAudioFile* ptr, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles) {
  return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, ptr) != 0;
}

VstInt32 AudioEffectX::offlineGetCurrentPass() {
  return callHost(audioMasterOfflineGetCurrentPass) != 0 ? 1 : 0;
}

VstInt32 AudioEffectX::offlineGetCurrentMetaPass() {
  return callHost(audioMasterOfflineGetCurrentMetaPass) != 0 ? 1 : 0;
}

void AudioEffectX::wantEvents(VstInt32 filter) {
  callHost(audioMasterWantMidi, 0, filter);
}

VstInt32 AudioEffectX::tempoAt(VstInt32 pos) {
  return static_cast<VstInt32>(callHost(audioMasterTempoAt, 0, pos));
}

VstInt32 AudioEffectX::getNumAutomatableParameters() {
  return static_cast<VstInt32>(callHost(audioMasterGetNumAutomatableParameters));
}

VstInt32 AudioEffectX::getParameterQuantization() {
  return static_cast<VstInt32>(callHost(audioMasterGetParameterQuantization));
}

bool AudioEffectX::needIdle() {
  return callHost(audioMasterNeedIdle) != 0;
}

AEffect* AudioEffectX::getPreviousPlug(VstInt32 /*input*/) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* AudioEffectX::getNextPlug(VstInt32 /*output*/) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

VstInt32 AudioEffectX::willProcessReplacing() {
  return static_cast<VstInt32>(callHost(audioMasterWillReplaceOrAccumulate));
}

void AudioEffectX::setOutputSamplerate(float samplerate) {
  callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, samplerate);
}

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetOutputSpeakerArrangement));
}

void* AudioEffectX::openWindow(VstWindow* window) {
  return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool AudioEffectX::closeWindow(VstWindow* window) {
  return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

bool AudioEffectX::sendVstEventsToHost(VstEvents* events) {
  return callHost(audioMasterProcessEvents, 0, 0, events) == 1;
}

// Flags and plain defaults.

void AudioEffectX::isSynth(bool state) {
  setFlag(effFlagsIsSynth, state);
}
void AudioEffectX::noTail(bool state) {
  setFlag(effFlagsNoSoundInStop, state);
}
void AudioEffectX::wantAsyncOperation(bool state) {
  setFlag(effFlagsExtIsAsync, state);
}
void AudioEffectX::hasExternalBuffer(bool state) {
  setFlag(effFlagsExtHasBuffer, state);
}

VstInt32 AudioEffectX::getPlugCategory() {
  return (cEffect.flags & effFlagsIsSynth) != 0 ? 2 : 0;
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
  *pluginInput = nullptr;
  *pluginOutput = nullptr;
  return false;
}

void AudioEffectX::setBlockSizeAndSampleRate(VstInt32 blockSize, float sampleRate) {
  this->blockSize = blockSize;
  this->sampleRate = sampleRate;
}

// Speaker arrangements.

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels) {
  deallocateArrangement(arrangement);
  if (nbChannels < 0) return false;
  // Never smaller than the declared record, so that a reader of its eight speakers stays inside it.
  const std::size_t size = std::max(speakerArrangementSize(nbChannels), sizeof(VstSpeakerArrangement));
  auto* const made = static_cast<VstSpeakerArrangement*>(std::calloc(1, size));
  if (!made) return false;
  made->numChannels = nbChannels;
  *arrangement = made;
  return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
  std::free(*arrangement);
  *arrangement = nullptr;
  return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
  if (!to || !from) return false;
  std::strncpy(to->name, from->name, sizeof(to->name) - 1);
  to->name[sizeof(to->name) - 1] = 0;
  to->type = from->type;
  to->azimuth = from->azimuth;
  to->elevation = from->elevation;
  to->radius = from->radius;
  to->reserved = from->reserved;
  std::memcpy(to->future, from->future, sizeof(to->future));
  return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
  if (!from) return false;
  if (!deallocateArrangement(to) || !allocateArrangement(to, from->numChannels)) return false;
  (*to)->type = from->type;
  for (VstInt32 i = 0; i < from->numChannels; ++i) {
    if (!copySpeaker(speakerAt(*to, i), speakerAt(from, i))) return false;
  }
  return true;
}
