#include "plugin/gui/tests/TestEditor.h"

#include <algorithm>
#include <cstring>

namespace GuiTest {

namespace {
RecordingHost* currentHost = nullptr;
}

RecordingHost::RecordingHost() {
  currentHost = this;
}

RecordingHost::~RecordingHost() {
  currentHost = nullptr;
}

VstIntPtr RecordingHost::callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float) {
  if (!currentHost) return 0;
  RecordingHost& host = *currentHost;
  const std::string text = opcode == audioMasterCanDo && ptr ? static_cast<const char*>(ptr) : "";
  host.calls.push_back(HostCall{opcode, index, value, text});
  switch (opcode) {
    case audioMasterVersion:
      return 2400;
    case audioMasterCanDo:
      return text == "sizeWindow" && host.canSizeWindow ? 1 : 0;
    case audioMasterSizeWindow:
      return host.acceptsSize ? 1 : 0;
    case audioMasterIdle:
      if (host.onIdle) host.onIdle();
      return 0;
    default:
      return 0;
  }
}

int RecordingHost::count(VstInt32 opcode) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [opcode](const HostCall& call) { return call.opcode == opcode; }));
}

}  // namespace GuiTest
