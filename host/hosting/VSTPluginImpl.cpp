#include "host/hosting/VSTPluginImpl.h"

#include <algorithm>
#include <cstring>

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/hosting/CrashGuard.h"
#include "host/hosting/EffectRegistry.h"
#include "host/hosting/PluginCrashed.h"
#include "host/hosting/VstKeys.h"

namespace Ombix::Kelvane {

namespace {

using Common::System::Threading::ScopedLock;

constexpr std::size_t kPropertiesSize = 128;  // a pin-properties record
constexpr std::size_t kProgramNameSize = 256;
constexpr std::size_t kPluginTextSize = 257;  // vendor and product texts asked of the plug-in

int Clamp(VstInt32 value, int most) {
  return std::clamp(static_cast<int>(value), 0, most);
}

}  // namespace

VSTPluginImpl::VSTPluginImpl(std::unique_ptr<const std::string> folder,
                             std::unique_ptr<Common::System::Library> library, AEffect* effect)
    : VSTPlugin(std::move(folder), std::move(library)),
      programCount_(Clamp(effect->numPrograms, kMaxPrograms)),
      effect_(effect) {
  EffectRegistry::Add(effect_, this);
}

VSTPluginImpl::~VSTPluginImpl() {
  ScopedLock hold(&lock_);
  if (!crashed_) {
    const unsigned long fault = CrashGuard::Run([this] {
      CloseEditorLocked();
      Suspend();
      Dispatch(effClose);
    });
    if (fault != 0) Common::Logging::theLogger.Critical("Plugin crashed on close\n");
  }
  EffectRegistry::Remove(effect_);
}

VstIntPtr VSTPluginImpl::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

bool VSTPluginImpl::HasEditor() const {
  return (effect_->flags & effFlagsHasEditor) != 0;
}

void VSTPluginImpl::Open(int blockSize, double sampleRate) {
  ScopedLock hold(&lock_);
  if (crashed_) return;
  blockSize_ = blockSize;
  sampleRateKHz_ = sampleRate / 1000.0;
  const unsigned long fault = CrashGuard::Run([this, blockSize, sampleRate] {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    Dispatch(effSetBlockSize, 0, blockSize);
    ProductString();
    VendorString();
    const int inputs = NumInputs();
    const int outputs = NumOutputs();
    for (int i = 0; i < std::max(inputs, outputs); ++i) {
      char properties[kPropertiesSize] = {};
      if (i < inputs) Dispatch(effGetInputProperties, i, 0, properties);
      if (i < outputs) Dispatch(effGetOutputProperties, i, 0, properties);
    }
    Resume();
    openedInputs_ = NumInputs();
    openedOutputs_ = NumOutputs();
  });
  opened_ = fault == 0;
  if (fault != 0) {
    crashed_ = true;
    running_ = false;
    Common::Logging::theLogger.Critical("Plugin crashed on open\n");
    throw PluginCrashed(fault);
  }
}

void VSTPluginImpl::Process(float** inputs, float** outputs, int frames) {
  if (running_ && effect_->numInputs <= openedInputs_ && effect_->numOutputs <= openedOutputs_)
    effect_->processReplacing(effect_, inputs, outputs, frames);
}

std::intptr_t VSTPluginImpl::ProcessEvents(int count, const PackedMidiEvent* events) {
  if (crashed_) return 0;
  return Dispatch(effProcessEvents, 0, 0, events_.Build(count, events, sampleRateKHz_, blockSize_));
}

void VSTPluginImpl::OpenEditor(void* parentWindow) {
  ScopedLock hold(&lock_);
  if (crashed_ || editorOpen_ || !HasEditor()) return;
  if (!parentWindow) {
    // An editor needs a window to live in: without one it would make a top-level window of its
    // own, or fail inside the plug-in.
    Common::Logging::theLogger.Warning("Editor not opened: no parent window\n");
    return;
  }
  Dispatch(effEditOpen, 0, 0, parentWindow);
  ERect* rect = nullptr;
  Dispatch(effEditGetRect, 0, 0, &rect);
  if (rect) SizeChanged(rect->right - rect->left, rect->bottom - rect->top);
  editorOpen_ = true;
}

void VSTPluginImpl::CloseEditor() {
  ScopedLock hold(&lock_);
  if (!crashed_) CloseEditorLocked();
}

void VSTPluginImpl::CloseEditorLocked() {
  if (!HasEditor() || !editorOpen_) return;
  Dispatch(effEditClose);
  editorOpen_ = false;
}

void VSTPluginImpl::EditorIdle() {
  ScopedLock hold(&lock_);
  if (editorOpen_ && !crashed_) Dispatch(effEditIdle);
}

std::string VSTPluginImpl::CachedString(std::string& cache, VstInt32 opcode) {
  if (cache.empty() && !crashed_) {
    char text[kPluginTextSize] = {};
    Dispatch(opcode, 0, 0, text);
    text[kPluginTextSize - 1] = '\0';
    cache = text;
  }
  return cache;
}

std::string VSTPluginImpl::ProductString() {
  return CachedString(product_, effGetProductString);
}

std::string VSTPluginImpl::VendorString() {
  return CachedString(vendor_, effGetVendorString);
}

int VSTPluginImpl::NumInputs() {
  return Clamp(effect_->numInputs, kMaxChannels);
}

int VSTPluginImpl::NumOutputs() {
  return Clamp(effect_->numOutputs, kMaxChannels);
}

void VSTPluginImpl::SetSampleRate(double rate) {
  if (!opened_) {  // the rate reaches the plug-in when it is opened
    sampleRateKHz_ = rate / 1000.0;
    return;
  }
  Suspend();
  sampleRateKHz_ = rate / 1000.0;
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  Resume();
}

void VSTPluginImpl::SetBlockSize(int frames) {
  if (!opened_) {
    blockSize_ = frames;
    return;
  }
  Suspend();
  blockSize_ = frames;
  Dispatch(effSetBlockSize, 0, frames);
  Resume();
}

void VSTPluginImpl::SendKey(VstInt32 opcode, const PluginKeyEvent& key) {
  if (crashed_) return;
  const float modifiers = static_cast<float>(key.modifiers + 0.00001);
  Dispatch(opcode, key.character, ToVstVirtualKey(key.keyCode), nullptr, modifiers);
}

bool VSTPluginImpl::KeyDown(const PluginKeyEvent& key) {
  SendKey(effEditKeyDown, key);
  return false;
}

bool VSTPluginImpl::KeyUp(const PluginKeyEvent& key) {
  SendKey(effEditKeyUp, key);
  return false;
}

bool VSTPluginImpl::ProgramName(unsigned index, PatchInfo& patch) {
  if (crashed_) return false;
  char name[kProgramNameSize] = {};
  if (Dispatch(effGetProgramNameIndexed, static_cast<VstInt32>(index), -1, name) == 0) return false;
  name[kProgramNameSize - 1] = '\0';
  patch.index = static_cast<int>(index);
  patch.name = name[0] ? name : "<Empty>";
  patch.category.clear();
  return true;
}

std::intptr_t VSTPluginImpl::SetProgram(unsigned index) {
  if (crashed_) return 0;
  return Dispatch(effSetProgram, static_cast<VstInt32>(index), static_cast<VstIntPtr>(index));
}

void VSTPluginImpl::Resume() {
  if (running_) return;
  Dispatch(effMainsChanged, 0, 1);
  Dispatch(effStartProcess);
  running_ = true;
}

void VSTPluginImpl::Suspend() {
  if (!running_) return;
  running_ = false;
  Dispatch(effStopProcess);
  Dispatch(effMainsChanged, 0, 0);
}

VstIntPtr VSTPluginImpl::HostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*,
                                      float) {
  switch (opcode) {
    case audioMasterGetNumAutomatableParameters:
      return effect_->numParams;
    case audioMasterNeedIdle:
      return 1;
    case audioMasterSizeWindow:
      SizeChanged(index, static_cast<int>(value));
      return 1;
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(sampleRateKHz_ * 1000.0);
    case audioMasterWillReplaceOrAccumulate:
      return 1;
    case audioMasterGetDirectory:
      return reinterpret_cast<VstIntPtr>(Folder().c_str());
    case audioMasterUpdateDisplay:
      UpdateDisplay();
      return 0;  // the common answer (1) stands
    default:
      return 0;
  }
}

}  // namespace Ombix::Kelvane
