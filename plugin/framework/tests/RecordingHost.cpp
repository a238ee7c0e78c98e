#include "plugin/framework/tests/RecordingHost.h"

#include "plugin/framework/HostOpcodes.h"

RecordingHost& RecordingHost::instance() {
  static RecordingHost host;
  return host;
}

VstIntPtr RecordingHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
  RecordingHost& host = instance();
  host.recorded.push_back({effect, opcode, index, value, ptr, opt});
  const auto found = host.answers.find(opcode);
  return found == host.answers.end() ? 0 : found->second;
}

void RecordingHost::reset() {
  recorded.clear();
  answers.clear();
  answers[audioMasterVersion] = 2400;
}

std::vector<HostCall> RecordingHost::callsWith(VstInt32 opcode) const {
  std::vector<HostCall> found;
  for (const HostCall& call : recorded) {
    if (call.opcode == opcode) found.push_back(call);
  }
  return found;
}
