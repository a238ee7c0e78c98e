#include "plugin/framework/EffectCallbacks.h"

#include "plugin/framework/AudioEffect.h"
#include "plugin/framework/EffectOpcodes.h"

namespace {

AudioEffect* effectOf(AEffect* e) {
  return static_cast<AudioEffect*>(e->object);
}

}  // namespace

VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
  AudioEffect* const effect = effectOf(e);
  if (opcode == effClose) {
    effect->dispatcher(opcode, index, value, ptr, opt);
    delete effect;
    return 1;
  }
  return effect->dispatcher(opcode, index, value, ptr, opt);
}

float getParameterClass(AEffect* e, VstInt32 index) {
  return effectOf(e)->getParameter(index);
}

void setParameterClass(AEffect* e, VstInt32 index, float value) {
  effectOf(e)->setParameter(index, value);
}

void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) {
  effectOf(e)->process(inputs, outputs, sampleFrames);
}

void processClassReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames) {
  effectOf(e)->processReplacing(inputs, outputs, sampleFrames);
}

void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs, VstInt32 sampleFrames) {
  effectOf(e)->processDoubleReplacing(inputs, outputs, sampleFrames);
}
