#include "plugin/engine/OmSoundEngine.h"

#include <algorithm>
#include <cmath>

#include "plugin/engine/DenormalGuard.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterInfo.h"
#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/FloatVector.h"
#include "plugin/engine/dsp/Random.h"
#include "plugin/engine/dsp/ValueLimits.h"
#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/FilterSelection.h"

using namespace ParameterIndex;

namespace {

constexpr int32_t delayMask = OmSoundEngine::delayRingSize - 1;
constexpr float controlRate = 1200.0f;  // control ticks per second

// The output clip to -5..5; a value that is not a number plays as silence.
float limitOutput(float x) {
  const float limited = clip(x, -5.0f, 5.0f);
  if (!std::isfinite(limited)) return x > 0.0f ? 5.0f : (x < 0.0f ? -5.0f : 0.0f);
  return std::clamp(limited, -5.0f, 5.0f);  // the clip's rounding can pass the limit by a step
}

// limitOutput of four samples.
FloatVector limitOutput(FloatVector x) {
  const FloatVector high(5.0f);
  const FloatVector low(-5.0f);
  const FloatVector zero;
  const FloatVector limited = clip(x, low, high);
  const FloatVector clamped = greaterOf(lesserOf(limited, high), low);
  const FloatVector signLimit = select(greaterThan(x, zero), high, select(lessThan(x, zero), low, zero));
  return select(isFinite(limited), clamped, signLimit);
}

}  // namespace

OmSoundEngine::OmSoundEngine(OmAudio& effect) : effect(effect), clock(pieceCapacity) {
  for (FilterKernel& kernel : kernels) kernel = emptyKernel;
}

float OmSoundEngine::sendAmount(float send) {
  const float a = (send - 0.5f) * 2.0f;
  return a * a * a;
}

void OmSoundEngine::readSampleRate() {
  // Rates of 0 or below (or not a number) are ignored: the last valid rate stays.
  const float rate = effect.getSampleRate();
  if (rate > 0.0f && std::isfinite(rate)) sampleRate = rate;
  period =
      static_cast<int32_t>(std::clamp(sampleRate / controlRate, 1.0f, static_cast<float>(pieceCapacity)));
}

void OmSoundEngine::readSettings() {
  for (int32_t index = 0; index < ParameterIndex::count; ++index) {
    settings[index] = unitOrZero(effect.values[index]);
  }
}

void OmSoundEngine::processBlock(float** outputs, int32_t frames) {
  if (frames <= 0) return;
  const DenormalGuard denormals;
  if (!effect.sleeping) {
    readSampleRate();
    tempo = effect.getTempo();
  }
  // Each period passes the limiter and the silence detector as it is rendered. The sleep they decide
  // begins where that period ends, at the next tick, unless something woke the engine before (a note,
  // a program change, a suspend). The samples the limiter acted on are marked, so the editor's lamp
  // tells whether it acted on any sample of this block, also on one rendered during an earlier block.
  effect.limiterActive = clock.run(
      outputs[0], outputs[1], frames, period,
      [this](int32_t count, float* left, float* right, bool* limited) {
        render(count, left, right);
        limiter.process(left, right, limited, count, sampleRate);
        if (silence.periodEnded(limiter.signalLevel(), count, sampleRate)) effect.sleeping = true;
      },
      [this] {
        if (effect.sleeping) return false;
        controlUpdate();
        return true;
      });
}

// Rendering of one control period.

void OmSoundEngine::render(int32_t count, float* left, float* right) {
  if (count <= 0) return;
  const float* values = settings;
  // Read once: the write position of the delay must be one this period set.
  const bool delayOn = values[DelaySend] > 0.01f;
  const bool postFilter = postFilterDelay;

  std::fill(inputL, inputL + count, 0.0f);
  std::fill(inputR, inputR + count, 0.0f);
  renderLfoToInput(inputL, inputR, count);
  std::copy(inputL, inputL + count, dryL);
  std::copy(inputR, inputR + count, dryR);

  if (decodeParameterEntry(EnvelopeDestination, values[EnvelopeDestination]) >= 1) {
    const float a = envFastCoef;
    for (int32_t i = 0; i < count; ++i) {
      const float s = fastAbs(inputR[i]) + (fastAbs(inputL[i]) + 1e-6f);
      envFast = (1.0f - a) * envFast + a * s;
    }
    envFast = finiteOrZero(envFast);
  }
  applyInputStage(count);

  int32_t start = delayWrite;
  if (delayOn && !postFilter) addDelayTaps(inputL, inputR, count);
  removeDc(count);
  routeThroughFilters(decodeParameterEntry(Routing, values[Routing]), count);

  const int32_t distortionType = decodeParameterEntry(DistortionType, values[DistortionType]);
  distortPair(wetL, wetR, count, distortion[0], distortion[1], distortionType, driveAmount, sampleRate);

  if (delayOn && postFilter) {
    start = delayWrite;
    addDelayTaps(wetL, wetR, count);
  }
  if (delayOn) writeDelay(start, count);
  mix(count, left, right);
}

void OmSoundEngine::renderLfoToInput(float* left, float* right, int32_t count) {
  struct Lfo {
    int32_t sync, destination, shape;
    float rate, send;
  };
  const float* values = settings;
  const Lfo lfos[2] = {
      {Lfo1Sync, Lfo1Destination, Lfo1Shape, lfo1Rate, lfo1Send},
      {Lfo2Sync, Lfo2Destination, Lfo2Shape, lfo2Rate, lfo2Send},
  };
  for (int32_t lfo = 0; lfo < 2; ++lfo) {
    audioOscActive[lfo] = false;
    const Lfo& l = lfos[lfo];
    if (decodeParameterEntry(l.sync, values[l.sync]) != 0) continue;
    const int32_t destination = decodeParameterEntry(l.destination, values[l.destination]);
    if (destination < 13 || destination > 15) continue;
    float* target = destination == 14 ? right : left;
    const float freq = l.rate * effect.pitchBend * 44100.0f / sampleRate;
    renderOscillator(target, count, oscillator, effect.keyTarget, lfo,
                     decodeParameterEntry(l.shape, values[l.shape]), freq, sendAmount(l.send), sampleRate);
    if (destination == 15) std::copy(left, left + count, right);
    audioOscActive[lfo] = true;
  }
}

void OmSoundEngine::applyInputStage(int32_t count) {
  const float gain = inputGain;
  for (int32_t i = 0; i < count; ++i) {
    inputL[i] *= gain;
    inputR[i] *= gain;
  }
  // The gain is applied a second time together with the offsets.
  if (!rampOffsets) {
    for (int32_t i = 0; i < count; ++i) {
      inputL[i] = gain * inputL[i] + inputOffsetL + 1e-5f;
      inputR[i] = gain * inputR[i] + inputOffsetR + 1e-5f;
    }
    return;
  }
  const float step = 1.0f / static_cast<float>(period);
  for (int32_t i = 0; i < count; ++i) {
    const float t = rampPosition;
    inputL[i] = t * inputOffsetL + gain * inputL[i] + (1.0f - t) * previousOffsetL + 1e-5f;
    inputR[i] = t * inputOffsetR + gain * inputR[i] + (1.0f - t) * previousOffsetR + 1e-5f;
    rampPosition += step;
  }
}

void OmSoundEngine::addDelayTaps(float* left, float* right, int32_t count) {
  // Per tap: the gains of the left and right input seen from the same and from the other channel.
  FloatVector straight[DelayTaps::count];
  FloatVector crossed[DelayTaps::count];
  for (int32_t j = 0; j < DelayTaps::count; ++j) {
    straight[j] = FloatVector::pair(taps.ll[j], taps.rr[j]);
    crossed[j] = FloatVector::pair(taps.lr[j], taps.rl[j]);
  }
  const FloatVector offset(1e-6f);
  int32_t distance[DelayTaps::count] = {};
  int32_t write = delayWrite;
  float length = delayLength;
  const float target = delayTarget;
  for (int32_t i = 0; i < count; ++i) {
    // The taps move only while the length glides.
    const float previousLength = length;
    if (length > target) length -= 0.5f;
    if (length < target) length += 0.5f;
    if (i == 0 || !(length == previousLength)) {
      for (int32_t j = 0; j < DelayTaps::count; ++j) {
        distance[j] = static_cast<int32_t>(taps.factor[j] * length) + 1;
      }
    }
    FloatVector sum = FloatVector::pair(left[i], right[i]);
    for (int32_t j = 0; j < DelayTaps::count; ++j) {
      const int32_t p = (write - distance[j]) & delayMask;
      const FloatVector line = FloatVector::loadPair(delayLine[p]);
      sum = sum + ((straight[j] * line + crossed[j] * line.swapped()) + offset);
    }
    left[i] = sum.lane0();
    right[i] = sum.lane1();
    write = (write + 1) & delayMask;
  }
  delayLength = length;
  delayWrite = write;
}

void OmSoundEngine::removeDc(int32_t count) {
  // Both channels side by side. The left channel draws its count random values first, then the right
  // one: the right channel's draws start count states further on.
  std::uint32_t leftSeed = randomSeed.load(std::memory_order_relaxed);
  std::uint32_t rightSeed = skipRandomStates(leftSeed, static_cast<std::uint32_t>(count));
  const FloatVector c(dcCoefficient);
  const FloatVector keep(1.0f - dcCoefficient);
  FloatVector state = FloatVector::pair(dcStateL, dcStateR);
  for (int32_t i = 0; i < count; ++i) {
    const FloatVector x = FloatVector::pair(inputL[i], inputR[i]);
    state = (x + FloatVector(1e-5f)) * c + keep * state;
    leftSeed = nextRandomState(leftSeed);
    rightSeed = nextRandomState(rightSeed);
    const FloatVector r = FloatVector::pair(randomValueInRange(leftSeed, -1e-5f, 1e-5f),
                                            randomValueInRange(rightSeed, -1e-5f, 1e-5f));
    const FloatVector removed = x - (r + (state - FloatVector(1e-6f)));
    inputL[i] = removed.lane0();
    inputR[i] = removed.lane1();
  }
  randomSeed.store(rightSeed, std::memory_order_relaxed);
  dcStateL = finiteOrZero(state.lane0());
  dcStateR = finiteOrZero(state.lane1());
}

void OmSoundEngine::routeThroughFilters(int32_t routing, int32_t count) {
  const auto filter1 = [this, count](float* left, float* right) {
    runFilterPair(kernels[0], left, right, count, &filterStates[0], &filterStates[1]);
  };
  const auto filter2 = [this, count](float* left, float* right) {
    runFilterPair(kernels[1], left, right, count, &filterStates[2], &filterStates[3]);
  };
  const auto combine = [this, count, filter1, filter2](auto combination) {
    std::copy(inputL, inputL + count, parallelL);
    std::copy(inputR, inputR + count, parallelR);
    filter1(inputL, inputR);
    filter2(parallelL, parallelR);
    for (int32_t i = 0; i < count; ++i) {
      wetL[i] = combination(parallelL[i], inputL[i]);
      wetR[i] = combination(parallelR[i], inputR[i]);
    }
  };
  switch (routing) {
    case 1:
      filter1(inputL, inputR);
      break;
    case 2:
      filter2(inputL, inputR);
      break;
    case 3:
      filter1(inputL, inputR);
      filter2(inputL, inputR);
      break;
    case 4:
      combine([](float parallel, float input) { return (parallel + input) * 0.5f + 1e-6f; });
      break;
    case 5:
      combine([](float parallel, float input) { return (parallel - input) * 0.5f + 1e-6f; });
      break;
    case 6:
      kernels[0](inputL, count, &filterStates[0]);
      kernels[1](inputR, count, &filterStates[3]);
      break;
    case 7:
      combine([](float parallel, float input) { return parallel * input * 10.0f + 1e-6f; });
      break;
    default:  // "Bypass", and routings outside the menu
      break;
  }
  if (routing < 4 || routing == 6 || routing > 7) {
    std::copy(inputL, inputL + count, wetL);
    std::copy(inputR, inputR + count, wetR);
  }
  // A filter driven beyond its range never keeps playing non-numbers: it starts afresh.
  if (!std::isfinite(wetL[count - 1]) || !std::isfinite(wetR[count - 1])) {
    resetAllFilterStates();
    std::fill(wetL, wetL + count, 0.0f);
    std::fill(wetR, wetR + count, 0.0f);
  }
}

void OmSoundEngine::writeDelay(int32_t start, int32_t count) {
  delayWrite = start;
  const float k = (1.0f / sampleRate) * 20.5f * 0.5f;
  const FloatVector fade(effect.fadeGain);
  const FloatVector one(1.0f);
  const FloatVector zero;
  for (int32_t i = 0; i < count; ++i) {
    delayInputEnvelope =
        ((1.0f - k) * delayInputEnvelope + 1e-6f) + (fastAbs(wetR[i]) + fastAbs(wetL[i])) * k;
    delayInputEnvelope = finiteOrZero(delayInputEnvelope);
    FloatVector wet = FloatVector::pair(wetL[i], wetR[i]);
    if (delayInputEnvelope >= 0.5f) wet = wet * FloatVector(0.5f / delayInputEnvelope);
    const FloatVector written = clip(wet, zero - one, one) * fade;
    select(isFinite(written), written, zero).storePair(delayLine[delayWrite]);
    delayWrite = (delayWrite + 1) & delayMask;
  }
}

void OmSoundEngine::mix(int32_t count, float* left, float* right) {
  const float dryWet = settings[DryWet];
  const float wetGain = outputVolume * 4.0f * effect.fadeGain * dryWet;
  const float dryGain = 1.0f - dryWet;
  const float leftGain = 2.0f * pan * wetGain;
  const float rightGain = 2.0f * (1.0f - pan) * wetGain;
  // Four samples at a time, the rest one by one.
  int32_t i = 0;
  const FloatVector leftGains(leftGain);
  const FloatVector rightGains(rightGain);
  const FloatVector dryGains(dryGain);
  for (; i + 4 <= count; i += 4) {
    limitOutput(leftGains * FloatVector::load(wetL + i) + dryGains * FloatVector::load(dryL + i))
        .store(left + i);
    limitOutput(rightGains * FloatVector::load(wetR + i) + dryGains * FloatVector::load(dryR + i))
        .store(right + i);
  }
  for (; i < count; ++i) {
    left[i] = limitOutput(leftGain * wetL[i] + dryGain * dryL[i]);
    right[i] = limitOutput(rightGain * wetR[i] + dryGain * dryR[i]);
  }
}
