// A test effect built on the framework exactly as a real plug-in is: it leaves the record as the base
// classes fill it and reports its construction and destruction to the host.
#include "plugin/framework/AudioEffectExtended.h"
#include "plugin/framework/ModuleHandle.h"
#include "plugin/framework/PluginEntry.h"
#include "plugin/framework/tests/NoEffectSignals.h"

#include <algorithm>

namespace {

class NoEffect : public AudioEffectX {
 public:
  explicit NoEffect(audioMasterCallback audioMaster)
      : AudioEffectX(audioMaster, NoEffectSignals::kPrograms, NoEffectSignals::kParameters) {
    hostVendorSpecific(NoEffectSignals::kSignal, NoEffectSignals::kMade, this, 0.0f);
  }

  ~NoEffect() override {
    hostVendorSpecific(NoEffectSignals::kSignal, NoEffectSignals::kDestroyed, this, 0.0f);
  }

  void processReplacing(float** /*inputs*/, float** outputs, VstInt32 sampleFrames) override {
    for (VstInt32 channel = 0; channel < cEffect.numOutputs; ++channel) {
      std::fill(outputs[channel], outputs[channel] + sampleFrames, 0.0f);
    }
  }

  VstIntPtr vendorSpecific(VstInt32 lArg, VstIntPtr /*lArg2*/, void* /*ptrArg*/,
                           float /*floatArg*/) override {
    return lArg == NoEffectSignals::kAskModuleHandle ? reinterpret_cast<VstIntPtr>(hInstance) : 0;
  }
};

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new NoEffect(audioMaster);
}
