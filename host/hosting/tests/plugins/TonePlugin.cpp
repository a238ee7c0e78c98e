// A plug-in that plays a steady 441 Hz sine of amplitude 0.5 on both of its outputs, at whatever
// sample rate the host sets, without a break from one block to the next.

#include <cmath>

#include "host/hosting/tests/plugins/TestEffect.h"

namespace {

using namespace Ombix::Kelvane;

constexpr double kFrequency = 441.0;
constexpr float kAmplitude = 0.5f;

TestPlugins::AEffect effect;
double sampleRate = 44100.0;
double phase = 0.0;  // in turns

VstIntPtr Dispatch(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float opt) {
  if (opcode == effSetSampleRate && opt > 0.0f) sampleRate = opt;
  return 0;
}

void Play(AEffect*, float**, float** outputs, VstInt32 frames) {
  const double pi = std::acos(-1.0);
  for (VstInt32 i = 0; i < frames; ++i) {
    outputs[0][i] = outputs[1][i] = kAmplitude * static_cast<float>(std::sin(2.0 * pi * phase));
    phase += kFrequency / sampleRate;
    phase -= std::floor(phase);
  }
}

}  // namespace

extern "C" AEffect* VSTPluginMain(AudioMasterCallback) {
  TestPlugins::InitEffect(effect, Dispatch);
  effect.flags |= effFlagsIsSynth;
  effect.processReplacing = Play;
  return &effect;
}
