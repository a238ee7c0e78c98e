#include "RecordingHost.h"

#include <cstring>

#include "plugin/engine/tools/MidiEventList.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/VstEvents.h"

namespace {

constexpr VstIntPtr hostVersion = 2400;
constexpr int hostTextCapacity = 256;

// The host that the callback reports to; tests run one host at a time.
RecordingHost* currentHost = nullptr;

using EntryFunction = AEffect* (*)(audioMasterCallback);

}  // namespace

RecordingHost::RecordingHost(const std::string& dllPath) {
  currentHost = this;
  library_ = LoadLibraryA(dllPath.c_str());
  if (!library_) return;
  const FARPROC address = GetProcAddress(library_, "VSTPluginMain");
  const auto entry = reinterpret_cast<EntryFunction>(reinterpret_cast<void*>(address));
  if (entry) effect_ = entry(&RecordingHost::callback);
}

RecordingHost::~RecordingHost() {
  close();
  if (library_) FreeLibrary(library_);
  currentHost = nullptr;
}

VstIntPtr RecordingHost::callback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* /*ptr*/, float opt) {
  RecordingHost* host = currentHost;
  if (!host) return 0;
  host->calls_.push_back(Call{opcode, index, value, opt});
  switch (opcode) {
    case audioMasterVersion:
      return hostVersion;
    case audioMasterGetTime:
      return host->answersTimeInfo ? reinterpret_cast<VstIntPtr>(&host->timeInfo) : 0;
    case audioMasterGetSampleRate:
      return 44100;
    case audioMasterGetBlockSize:
      return 512;
    case audioMasterUpdateDisplay:
    case audioMasterWantMidi:
      return 1;
    default:
      return 0;
  }
}

VstIntPtr RecordingHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string RecordingHost::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
  char buffer[hostTextCapacity];
  std::memset(buffer, 0x55, sizeof buffer);
  buffer[hostTextCapacity - 1] = '\0';
  dispatch(opcode, index, value, buffer);
  return buffer;
}

VstIntPtr RecordingHost::canDo(const std::string& capability) {
  std::vector<char> text(capability.begin(), capability.end());
  text.push_back('\0');
  return dispatch(effCanDo, 0, 0, text.data());
}

void RecordingHost::setParameter(VstInt32 index, float value) {
  effect_->setParameter(effect_, index, value);
}

float RecordingHost::getParameter(VstInt32 index) {
  return effect_->getParameter(effect_, index);
}

std::string RecordingHost::display(VstInt32 index, float value) {
  setParameter(index, value);
  return text(effGetParamDisplay, index);
}

VstIntPtr RecordingHost::sendMidi(const std::vector<std::vector<unsigned char>>& messages) {
  MidiEventList list(messages);
  return dispatch(effProcessEvents, 0, 0, list.get());
}

void RecordingHost::close() {
  if (!effect_) return;
  dispatch(effClose);
  effect_ = nullptr;
}

int RecordingHost::countCalls(VstInt32 opcode) const {
  int count = 0;
  for (const Call& call : calls_) count += call.opcode == opcode ? 1 : 0;
  return count;
}
