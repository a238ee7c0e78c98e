// The control-rate side of the sound engine: the tick that smooths and modulates, the delay setup
// and the DSP reset.
#include <algorithm>
#include <cmath>

#include "plugin/engine/Lfo.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/OmSoundEngine.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterInfo.h"
#include "plugin/engine/StepSequencer.h"
#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/FloatToInt.h"
#include "plugin/engine/dsp/ValueLimits.h"
#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/FilterSelection.h"
#include "plugin/engine/filters/FilterTypeMap.h"

using namespace ParameterIndex;

namespace {

constexpr int32_t delaySetupInterval = 100;

// One tenth of the way toward the target. A state that is no longer a finite number starts again
// from the target (or 0), so it never keeps the sound silent.
float smooth(float smoothed, float target) {
  const float next = target * 0.1f + smoothed * 0.9f;
  return std::isfinite(next) ? next : finiteOrZero(target);
}

float limitToUnit(float x) {
  return std::clamp(x, 0.0f, 1.0f);
}

}  // namespace

void OmSoundEngine::controlUpdate() {
  readSettings();
  const float* values = settings;
  const auto entry = [values](int32_t index) { return decodeParameterEntry(index, values[index]); };

  smoothCutoff1 = smooth(smoothCutoff1, values[Cutoff1]);
  smoothCutoff2 = smooth(smoothCutoff2, values[Cutoff2]);
  smoothResonance1 = smooth(smoothResonance1, values[Resonance1]);
  smoothResonance2 = smooth(smoothResonance2, values[Resonance2]);
  smoothDrive = smooth(smoothDrive, values[Drive]);
  smoothVolume = smooth(smoothVolume, values[Volume]);
  smoothLfo1Rate = smooth(smoothLfo1Rate, values[Lfo1Rate]);
  smoothLfo2Rate = smooth(smoothLfo2Rate, values[Lfo2Rate]);

  if (delaySetupCountdown < 1) {
    setupDelay();
    delaySetupCountdown = delaySetupInterval;
  }
  --delaySetupCountdown;

  const int32_t lfo1Destination = entry(Lfo1Destination);
  const int32_t lfo2Destination = entry(Lfo2Destination);
  const int32_t stepDestination = entry(StepDestination);
  const int32_t envelopeDestination = entry(EnvelopeDestination);
  const float tickLength = static_cast<float>(period);
  const auto syncEntry = [&entry](int32_t index) { return std::clamp(entry(index), 0, lfoSyncCount - 1); };

  if (lfo1Destination != 0) {
    effect.lfo1Output = lfoTick(lfo1Rate, syncEntry(Lfo1Sync), entry(Lfo1Shape), tickLength, sampleRate,
                                tempo, effect.lfo1Phase, effect.lfo1LastPhase, effect.lfo1Beats, lfo1Held);
  }
  if (lfo2Destination != 0) {
    effect.lfo2Output = lfoTick(lfo2Rate, syncEntry(Lfo2Sync), entry(Lfo2Shape), tickLength, sampleRate,
                                tempo, effect.lfo2Phase, effect.lfo2LastPhase, effect.lfo2Beats, lfo2Held);
  }
  int32_t step = 0;
  if (stepDestination != 0) {
    stepOutput = stepSequencerTick(entry(StepSync), entry(StepShape), tickLength, sampleRate, tempo,
                                   values + Step1, effect.stepBeats, stepLastFraction, stepLevel, step);
  }
  effect.currentStep = step;

  previousOffsetL = inputOffsetL;
  previousOffsetR = inputOffsetR;
  lfo1Rate = lfo2Rate = inputOffsetL = inputOffsetR = pan = 0.0f;
  inputGain = driveAmount = outputVolume = delayModulation = 1.0f;
  Modulation sums;

  const float lfo1SendValue = lfo1Send;
  lfo1Send = 0.0f;
  if (lfo1Destination != 0) {
    const float a = sendAmount(lfo1SendValue);
    route(Source::Lfo1, lfo1Destination, a * effect.lfo1Output, a * 0.5f, sums);
  }
  const float lfo2SendValue = lfo2Send;
  lfo2Send = 0.0f;
  if (lfo2Destination != 0) {
    const float a = sendAmount(lfo2SendValue);
    route(Source::Lfo2, lfo2Destination, a * effect.lfo2Output, a * 0.5f, sums);
  }
  if (stepDestination != 0) {
    const float a = sendAmount(values[StepSend]);
    route(Source::Step, stepDestination, a * stepOutput, a * 0.5f, sums);
  }
  if (envelopeDestination != 0) {
    envFastCoef = fastExp(4.0f * values[EnvelopeTime]) * 0.0001f * 44100.0f / sampleRate;
    const float a = sendAmount(values[EnvelopeSend]);
    route(Source::Envelope, envelopeDestination, a * envFast * 10.0f, a * 0.5f, sums);
  }

  rampPosition = 0.0f;
  filterCutoff1 = limitToUnit(smoothCutoff1 + sums.cutoff1);
  filterCutoff2 = limitToUnit(smoothCutoff2 + sums.cutoff2);
  filterResonance1 = limitToUnit(smoothResonance1 + sums.resonance1);
  filterResonance2 = limitToUnit(smoothResonance2 + sums.resonance2);
  driveAmount = smoothDrive * smoothDrive * driveAmount;
  outputVolume = smoothVolume * smoothVolume * outputVolume;
  pan = limitToUnit(pan + 0.5f);
  inputOffsetL = inputOffsetL * 0.0625f * effect.gate;
  inputOffsetR = inputOffsetR * 0.0625f * effect.gate;
  lfo2Rate += smoothLfo2Rate;
  lfo1Rate += smoothLfo1Rate;
  lfo2Send = values[Lfo2Send] + lfo2Send;
  lfo1Send = values[Lfo1Send] + lfo1Send;

  selectFilters();

  if (effect.fadeGain < 1.0f) effect.fadeGain += 0.001f;

  const float resetTrigger = values[ResetTrigger];
  if (resetTrigger > 0.5f && lastResetTrigger == 0.0f) {
    resetDsp();
    resetAllFilterStates();
  }
  lastResetTrigger = resetTrigger;
}

OmSoundEngine::TickValues OmSoundEngine::tickValues() const {
  return {outputVolume,    driveAmount,     delayModulation, pan,       inputOffsetL, inputOffsetR,
          previousOffsetL, previousOffsetR, rampPosition,    inputGain, lfo1Rate,     lfo2Rate,
          lfo1Send,        lfo2Send,        stepOutput,      envFast,   envFastCoef};
}

void OmSoundEngine::route(Source source, int32_t destination, float m, float h, Modulation& sums) {
  const float centred = m - h;
  const auto addInputOffset = [this, source](float& offset, float amount) {
    const bool playsAudio =
        (source == Source::Lfo1 && audioOscActive[0]) || (source == Source::Lfo2 && audioOscActive[1]);
    if (!playsAudio) offset += amount;
  };
  const bool envelope = source == Source::Envelope;
  switch (destination) {
    case 1:
      sums.cutoff1 += m;
      break;
    case 2:
      sums.cutoff2 += m;
      break;
    case 3:
      sums.cutoff1 += m;
      sums.cutoff2 += m;
      break;
    case 4:
      sums.cutoff1 += m;
      sums.cutoff2 -= m;
      break;
    case 5:
      sums.resonance1 += m;
      break;
    case 6:
      sums.resonance2 += m;
      break;
    case 7:
      sums.resonance1 += m;
      sums.resonance2 += m;
      break;
    case 8:
      sums.resonance1 += m;
      sums.resonance2 -= m;
      break;
    case 9:
      if (!envelope) outputVolume *= 1.0f + 2.0f * centred;
      break;
    case 10:
      driveAmount *= 1.0f + 2.0f * centred;
      break;
    case 11:
      delayModulation += source == Source::Lfo1 ? 2.0f * centred : centred;
      break;
    case 12:
      pan += centred;
      break;
    case 13:
      if (envelope)
        lfo1Rate += m;
      else
        addInputOffset(inputOffsetL, centred);
      break;
    case 14:
      if (envelope)
        lfo2Rate += m;
      else
        addInputOffset(inputOffsetR, centred);
      break;
    case 15:
      if (envelope) {
        lfo1Send += m;
      } else {
        addInputOffset(inputOffsetL, centred);
        addInputOffset(inputOffsetR, centred);
      }
      break;
    case 16:
      if (source == Source::Lfo1)
        lfo2Rate += m;
      else if (envelope)
        lfo2Send += m;
      else
        lfo1Rate += m;
      break;
    case 17:
      if (source == Source::Lfo1)
        lfo2Send += m;
      else if (!envelope)
        lfo1Send += m;
      break;
    case 18:
      if (source == Source::Step) lfo2Rate += m;
      break;
    case 19:
      if (source == Source::Step) lfo2Send += m;
      break;
    case 20:
      if (source == Source::Step) inputGain = 1.0f + 2.0f * centred;
      break;
    default:  // "off", and entries beyond the menus
      break;
  }
}

void OmSoundEngine::selectFilters() {
  const float* values = settings;
  const int32_t entry1 = decodeParameterEntry(FilterType1, values[FilterType1]);
  const int32_t entry2 = decodeParameterEntry(FilterType2, values[FilterType2]);
  const int32_t rate = truncateToInt32(sampleRate);
  kernels[0] =
      selectFilterKernel(rate, filterTypeForEntry(entry1), filterCutoff1, filterResonance1, &filterStates[0]);
  copyFilterSettings(&filterStates[0], &filterStates[1]);
  kernels[1] =
      selectFilterKernel(rate, filterTypeForEntry(entry2), filterCutoff2, filterResonance2, &filterStates[2]);
  copyFilterSettings(&filterStates[2], &filterStates[3]);
  if (entry1 != lastFilterEntry1 || entry2 != lastFilterEntry2) resetAllFilterStates();
  lastFilterEntry1 = entry1;
  lastFilterEntry2 = entry2;
}

void OmSoundEngine::resetAllFilterStates() {
  for (FilterState& state : filterStates) resetFilterState(&state);
}

void OmSoundEngine::setupDelay() {
  const DelaySetup setup = computeDelaySetup(settings, delayModulation, tempo, sampleRate);
  taps = setup.taps;
  postFilterDelay = setup.postFilter;
  delayTarget = setup.target;
  rampOffsets = setup.rampOffsets;
  dcCoefficient = setup.dcCoefficient;
}

void OmSoundEngine::resetDsp() {
  readSettings();
  const float* values = settings;
  readSampleRate();
  tempo = effect.getTempo();

  buildNoteTable(oscillator.noteIncrement);
  effect.pitchBend = 1.0f;
  delaySetupCountdown = 0;

  delayTarget = delayTargetLength(
      sampleRate, delaySyncBeats(decodeParameterEntry(DelaySync, values[DelaySync])), 1.0f, tempo);
  delayLength = delayTarget;
  delayWrite = 0;
  std::fill(&delayLine[0][0], &delayLine[0][0] + 2 * delayRingSize, 0.0f);

  for (FilterKernel& kernel : kernels) kernel = emptyKernel;
  for (FilterState& state : filterStates) state.clear();
  for (DistortionState& state : distortion) state = DistortionState{};

  effect.lfo1Phase = effect.lfo1LastPhase = lfo1Held = 0.0f;
  effect.lfo2Phase = effect.lfo2LastPhase = lfo2Held = 0.0f;
  effect.lfo1Beats = effect.lfo2Beats = effect.stepBeats = 0.0;
  stepLastFraction = stepLevel = stepOutput = 0.0f;

  smoothCutoff1 = values[Cutoff1];
  smoothCutoff2 = values[Cutoff2];
  smoothResonance1 = values[Resonance1];
  smoothResonance2 = values[Resonance2];
  smoothDrive = values[Drive];
  smoothVolume = values[Volume];
  smoothLfo1Rate = values[Lfo1Rate];
  smoothLfo2Rate = values[Lfo2Rate];
  outputVolume = values[Volume];
  driveAmount = values[Drive];
  lfo1Rate = values[Lfo1Rate];
  lfo2Rate = values[Lfo2Rate];

  inputOffsetL = inputOffsetR = delayModulation = pan = lfo1Send = lfo2Send = 0.0f;
  effect.lfo1Output = effect.lfo2Output = 0.0f;
  inputGain = 1.0f;

  dcStateL = dcStateR = dcCoefficient = envFastCoef = envFast = delayInputEnvelope = 0.0f;
  effect.sleeping = false;
}
