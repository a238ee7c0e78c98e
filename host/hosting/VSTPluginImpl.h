#pragma once

#include "host/hosting/VSTPlugin.h"
#include "host/hosting/VstEventList.h"

namespace Ombix::Kelvane {

// The host's VST 2.4 wrapper: the opcodes it sends, in which order and with which arguments, and the
// answers it gives to its plug-in's own host calls.
class VSTPluginImpl : public VSTPlugin {
 public:
  // Channel and program counts read from the record are clamped to these before they size anything.
  static constexpr int kMaxChannels = 64;
  static constexpr int kMaxPrograms = 4096;

  VSTPluginImpl(std::unique_ptr<const std::string> folder, std::unique_ptr<Common::System::Library> library,
                AEffect* effect);
  ~VSTPluginImpl() override;

  // Throws PluginCrashed when the plug-in faults while it is opened; the wrapper then calls it no more.
  void Open(int blockSize, double sampleRate) override;
  // inputs and outputs hold the counts NumInputs and NumOutputs answered after Open: a plug-in whose
  // record now declares more channels is not called (it would write past them).
  void Process(float** inputs, float** outputs, int frames) override;
  std::intptr_t ProcessEvents(int count, const PackedMidiEvent* events) override;
  void OpenEditor(void* parentWindow) override;
  void CloseEditor() override;
  void EditorIdle() override;
  std::string ProductString() override;
  std::string VendorString() override;
  int NumInputs() override;
  int NumOutputs() override;
  void SetSampleRate(double rate) override;
  void SetBlockSize(int frames) override;
  bool KeyDown(const PluginKeyEvent& key) override;
  bool KeyUp(const PluginKeyEvent& key) override;
  int NumPrograms() override { return programCount_; }
  bool ProgramName(unsigned index, PatchInfo& patch) override;
  std::intptr_t SetProgram(unsigned index) override;

  VstIntPtr HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;

  AEffect* Effect() const { return effect_; }

 private:
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  void Resume();
  void Suspend();
  void CloseEditorLocked();  // the caller holds the wrapper lock
  void SendKey(VstInt32 opcode, const PluginKeyEvent& key);
  std::string CachedString(std::string& cache, VstInt32 opcode);
  bool HasEditor() const;

  int blockSize_ = 512;
  bool editorOpen_ = false;
  bool running_ = false;
  bool opened_ = false;  // opened and not crashed: reconfiguring may suspend and resume it
  bool crashed_ = false;
  std::string vendor_;
  std::string product_;
  int programCount_;
  double sampleRateKHz_ = 0.0;
  int openedInputs_ = 0;  // the channel counts after Open
  int openedOutputs_ = 0;
  AEffect* effect_;
  VstEventList events_;
};

}  // namespace Ombix::Kelvane
