#include "LocalEffectFixture.h"

#include "PrivatePluginCopy.h"

#include <windows.h>

#include <algorithm>

#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/ModuleHandle.h"
#include "tests/support/TestPaths.h"

namespace {

std::vector<VstInt32> recordedOpcodes;

VstIntPtr recordingHost(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/,
                        void* /*ptr*/, float /*opt*/) {
  recordedOpcodes.push_back(opcode);
  return opcode == audioMasterVersion ? 2400 : 0;
}

}  // namespace

std::string LocalEffectFixture::folder;

void LocalEffectFixture::SetUpTestSuite() {
  folder = loadPrivatePluginCopy("local-effect");
}

void LocalEffectFixture::TearDownTestSuite() {
  releasePrivatePluginCopy();
}

void LocalEffectFixture::SetUp() {
  ASSERT_NE(hInstance, nullptr);
  effect = std::make_unique<OmAudio>(&recordingHost);
  recordedOpcodes.clear();
}

int LocalEffectFixture::hostCalls(VstInt32 opcode) {
  return static_cast<int>(std::count(recordedOpcodes.begin(), recordedOpcodes.end(), opcode));
}
