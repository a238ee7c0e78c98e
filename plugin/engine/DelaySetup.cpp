#include "plugin/engine/DelaySetup.h"

#include <algorithm>

#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterInfo.h"
#include "plugin/engine/dsp/FastMath.h"

namespace {

struct Tap {
  float factor, ll, lr, rr, rl;
};

constexpr int32_t tapRowCount = 9;

// Rows of the delay types 0..8; types 9..17 place the same rows after the filters.
constexpr Tap tapTable[tapRowCount][DelayTaps::count] = {
    {{1, 1, 0, 1, 0}},
    {{1, 0, 1, 0, 0}, {2, 0, 0, 1, 0}},
    {{1, 0, 1, 0, 0}, {2, 0, 0, 0, 1}},
    {{1, 1, 0, 0, -1}},
    {{1, -1, 0, 1, 0}},
    {{1, 0, 0.666f, 0, 0}, {2, 0, -0.666f, 0, 0.666f}},
    {{1, 0, 0.5f, 0, 0}, {2, 0, 0, 0, 0.5f}, {3, 0.5f, 0, 0, -0.5f}},
    {{0.02f, 0, 0.5f, 0, 0}, {0.04f, 0, 0, 0, 0.5f}, {0.08f, 0, 0.5f, 0, 0}, {0.16f, 0, 0, 0, 0.5f}},
    {{0.07f, 0, 0.54f, 0, 0}, {0.17f, 0, 0, 0, 0.48f}, {0.19f, 0.44f, 0, 0, 0}, {0.11f, 0, 0, 0.52f, 0}},
};

constexpr int32_t delaySyncCount = 12;
constexpr float delaySync[delaySyncCount] = {0.0625f, 0.125f, 0.25f, 0.33333f, 0.5f, 0.6666f,
                                             0.75f,   1.0f,   1.5f,  2.0f,     3.0f, 4.0f};

// "Input L", "Input R" or "Input L&R" of the LFO and step destination menus.
bool isInputDestination(int32_t destination) {
  return destination >= 13 && destination <= 15;
}

// LFO shapes whose value jumps: "Saw Up", "Saw Down", "Square", "Impulse", "Noise", "PWM", "Layer",
// "Strings".
bool jumps(int32_t shape) {
  switch (shape) {
    case 2:
    case 3:
    case 6:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
      return true;
    default:
      return false;
  }
}

int32_t entryOf(const float* values, int32_t index) {
  return decodeParameterEntry(index, values[index]);
}

}  // namespace

float delaySyncBeats(int32_t entry) {
  return delaySync[((entry % delaySyncCount) + delaySyncCount) % delaySyncCount];
}

float delayTargetLength(float sampleRate, float beats, float modulation, float tempo) {
  const float length = sampleRate * (beats * modulation * 60.0f / tempo);
  if (!(length >= 0.0f)) return 0.0f;
  return std::min(length, longestDelay);
}

DelaySetup computeDelaySetup(const float* values, float delayModulation, float tempo, float sampleRate) {
  using namespace ParameterIndex;
  DelaySetup setup;
  // A send beyond 1 (host automation) plays as 1.
  const float sendValue = std::min(values[DelaySend], 1.0f);
  const float send = sendValue >= 0.01f ? fastExp(-6.0f * (1.0f - sendValue)) : 0.0f;

  int32_t type = entryOf(values, DelayType);
  setup.postFilter = type >= tapRowCount;
  if (setup.postFilter) type -= tapRowCount;
  const Tap* row = tapTable[std::clamp(type, 0, tapRowCount - 1)];
  for (int32_t i = 0; i < DelayTaps::count; ++i) {
    setup.taps.factor[i] = row[i].factor;
    setup.taps.ll[i] = send * row[i].ll;
    setup.taps.lr[i] = send * row[i].lr;
    setup.taps.rr[i] = send * row[i].rr;
    setup.taps.rl[i] = send * row[i].rl;
  }

  setup.target =
      delayTargetLength(sampleRate, delaySyncBeats(entryOf(values, DelaySync)), delayModulation, tempo);
  setup.dcCoefficient = 10.0f / sampleRate;
  // Offsets that can jump are not ramped across the control period.
  const bool lfo1Jumps =
      isInputDestination(entryOf(values, Lfo1Destination)) && jumps(entryOf(values, Lfo1Shape));
  const bool lfo2Jumps =
      isInputDestination(entryOf(values, Lfo2Destination)) && jumps(entryOf(values, Lfo2Shape));
  setup.rampOffsets = !(lfo1Jumps || lfo2Jumps || isInputDestination(entryOf(values, StepDestination)));
  return setup;
}
