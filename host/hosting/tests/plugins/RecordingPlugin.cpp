// A plug-in that records every call it receives and every answer of the host, as text lines.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "host/hosting/tests/plugins/TestEffect.h"

namespace {

using namespace Ombix::Kelvane;

struct Configuration {
  VstInt32 inputs = 2;
  VstInt32 outputs = 2;
  VstInt32 programs = 3;
  VstInt32 flags = effFlagsCanReplacing | effFlagsHasEditor | effFlagsIsSynth;
};

struct Instance {
  AEffect effect;
  AudioMasterCallback host;
  const char* entryDirectory;  // the pointer the host answered while the entry ran
};

std::mutex logLock;
std::string logText;
std::string logSnapshot;
Configuration configuration;
Instance* newest = nullptr;
std::atomic<int> instances{0};
ERect editorRect{0, 0, 300, 400};

// Entries can be held at their start until the test releases them.
std::mutex gateLock;
std::condition_variable gateChanged;
bool gateClosed = false;
int entriesWaiting = 0;

void PassGate() {
  std::unique_lock<std::mutex> hold(gateLock);
  ++entriesWaiting;
  gateChanged.notify_all();
  gateChanged.wait(hold, [] { return !gateClosed; });
  --entriesWaiting;
}

void Record(const std::string& line) {
  std::lock_guard<std::mutex> hold(logLock);
  logText += line;
  logText += '\n';
}

std::string Format(const char* format, long long a, long long b = 0, long long c = 0, double d = 0.0) {
  char line[256];
  std::snprintf(line, sizeof line, format, a, b, c, d);
  return line;
}

VstIntPtr AskHost(Instance& instance, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                  void* ptr = nullptr) {
  const VstIntPtr answer = instance.host(&instance.effect, opcode, index, value, ptr, 0.0f);
  Record(Format("host %lld %lld %lld -> ", opcode, index, value) + std::to_string(answer));
  return answer;
}

void RecordText(const char* what, const char* text) {
  Record(std::string(what) + " " + (text ? text : "(null)"));
}

void RecordEvents(const VstEvents* events) {
  Record(Format("events %lld", events->numEvents));
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(EventSlots(events)[i]);
    Record(Format("midi %02llx %lld %lld", midi->midiData[0] & 0xFF, midi->midiData[1] & 0xFF,
                  midi->midiData[2] & 0xFF) +
           " delta " + std::to_string(midi->deltaFrames) + " type " + std::to_string(midi->type) + " size " +
           std::to_string(midi->byteSize) + " flags " + std::to_string(midi->flags));
  }
}

const char* ProgramName(VstInt32 index) {
  static const char* const names[] = {"First", "", nullptr};
  return index >= 0 && index < 3 ? names[index] : "Other";
}

VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  Instance& instance = *static_cast<Instance*>(effect->object);
  char optText[64];
  std::snprintf(optText, sizeof optText, "%.5f", opt);
  Record(Format("disp %lld %lld %lld", opcode, index, value) + " " + optText);
  switch (opcode) {
    case effOpen:
      AskHost(instance, audioMasterGetSampleRate);
      AskHost(instance, audioMasterGetNumAutomatableParameters);
      RecordText("directory", reinterpret_cast<const char*>(AskHost(instance, audioMasterGetDirectory)));
      return 0;
    case effClose:
      if (newest == &instance) newest = nullptr;
      --instances;
      delete &instance;
      return 1;
    case effEditGetRect:
      *static_cast<ERect**>(ptr) = &editorRect;
      return 1;
    case effEditOpen:
      Record(Format("editor parent %llx", static_cast<long long>(reinterpret_cast<std::uintptr_t>(ptr))));
      return 1;
    case effProcessEvents:
      RecordEvents(static_cast<const VstEvents*>(ptr));
      return 1;
    case effGetProgramNameIndexed: {
      const char* name = ProgramName(index);
      if (!name) return 0;
      std::strcpy(static_cast<char*>(ptr), name);
      return 1;
    }
    case effGetProductString:
      std::strcpy(static_cast<char*>(ptr), "Lead");
      return 1;
    case effGetVendorString:
      std::strcpy(static_cast<char*>(ptr), "Acme");
      return 1;
    case effGetVstVersion:
      return 2400;
    case effSetProgram:
      return 7;
    default:
      return 0;
  }
}

void ProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  Record(Format("process %lld", frames));
  for (VstInt32 channel = 0; channel < effect->numOutputs; ++channel) {
    for (VstInt32 i = 0; i < frames; ++i)
      outputs[channel][i] = channel < effect->numInputs ? inputs[channel][i] : 0.5f;
  }
}

}  // namespace

extern "C" AEffect* VSTPluginMain(AudioMasterCallback host) {
  PassGate();
  auto* instance = new Instance;
  TestPlugins::InitEffect(instance->effect, Dispatch);
  instance->host = host;
  AEffect& effect = instance->effect;
  effect.object = instance;
  effect.numInputs = configuration.inputs;
  effect.numOutputs = configuration.outputs;
  effect.numPrograms = configuration.programs;
  effect.numParams = 5;
  effect.flags = configuration.flags;
  effect.processReplacing = configuration.flags & effFlagsCanReplacing ? ProcessReplacing : nullptr;
  // Garbage where the host keeps its own data: the host must not trust it while the entry runs.
  effect.resvd1 = static_cast<VstIntPtr>(0x0BADF00D);
  Record("entry");
  AskHost(*instance, audioMasterVersion);
  AskHost(*instance, audioMasterGetSampleRate);
  AskHost(*instance, audioMasterGetCurrentProcessLevel);
  instance->entryDirectory = reinterpret_cast<const char*>(AskHost(*instance, audioMasterGetDirectory));
  RecordText("directory", instance->entryDirectory);
  newest = instance;
  ++instances;
  return &effect;
}

extern "C" void RecorderConfigure(VstInt32 inputs, VstInt32 outputs, VstInt32 programs, VstInt32 flags) {
  configuration = Configuration{inputs, outputs, programs, flags};
}

extern "C" const char* RecorderLog() {
  std::lock_guard<std::mutex> hold(logLock);
  logSnapshot = logText;
  return logSnapshot.c_str();
}

extern "C" void RecorderClear() {
  std::lock_guard<std::mutex> hold(logLock);
  logText.clear();
}

extern "C" VstIntPtr RecorderCallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt) {
  if (!newest) return -1;
  return newest->host(&newest->effect, opcode, index, value, ptr, opt);
}

extern "C" int RecorderInstances() {
  return instances;
}

extern "C" void RecorderHoldEntries(int hold) {
  std::lock_guard<std::mutex> guard(gateLock);
  gateClosed = hold != 0;
  gateChanged.notify_all();
}

// Waits until at least count entries wait at the gate.
extern "C" void RecorderAwaitWaitingEntries(int count) {
  std::unique_lock<std::mutex> hold(gateLock);
  gateChanged.wait(hold, [count] { return entriesWaiting >= count; });
}

extern "C" const char* RecorderEntryDirectory() {
  return newest ? newest->entryDirectory : nullptr;
}
