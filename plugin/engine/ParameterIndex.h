#pragma once

#include <cstdint>

// The plug-in's 48 automatable parameters, floats nominally in 0..1. The editor's controls use
// these indexes as their tags.
namespace ParameterIndex {

enum : int32_t {
  FilterType1,
  Cutoff1,
  Resonance1,
  FilterType2,
  Cutoff2,
  Resonance2,
  Routing,
  DistortionType,
  Drive,
  Volume,
  DryWet,
  Lfo1Rate,
  Lfo1Sync,
  Lfo1Shape,
  Lfo1Send,
  Lfo1Destination,
  Lfo2Rate,
  Lfo2Sync,
  Lfo2Shape,
  Lfo2Send,
  Lfo2Destination,
  EnvelopeTime,
  EnvelopeSend,
  EnvelopeDestination,
  DelaySend,
  DelayType,
  DelaySync,
  StepSync,
  StepShape,
  StepSend,
  StepDestination,
  Step1,
  Step16 = Step1 + 15,
  ResetTrigger,
};

constexpr int32_t count = 48;
constexpr int32_t stepCount = 16;

constexpr bool isValid(int32_t index) {
  return index >= 0 && index < count;
}

}  // namespace ParameterIndex
