#pragma once

#include <cstdint>

#include "plugin/engine/AudioOscillator.h"
#include "plugin/engine/ControlClock.h"
#include "plugin/engine/DelaySetup.h"
#include "plugin/engine/Distortion.h"
#include "plugin/engine/OutputStage.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/filters/FilterState.h"

class OmAudio;

// The instrument's audio road: renders blocks from the effect's live parameters and key states
// through the oscillator, delay, filters, distortion, mix, limiter and sleep, modulated at control
// rate. It reads and writes the effect's shared fields (keys, gate, pitch bend, sleep flag, fade,
// LFO clocks and the values the editor shows) and owns the rest of the signal path's state.
// Runs on the audio thread; allocates nothing after construction.
class OmSoundEngine {
 public:
  // Work buffer capacity: the longest control period.
  static constexpr int32_t pieceCapacity = 65536;
  static constexpr int32_t delayRingSize = 262144;

  explicit OmSoundEngine(OmAudio& effect);
  OmSoundEngine(const OmSoundEngine&) = delete;
  OmSoundEngine& operator=(const OmSoundEngine&) = delete;

  // Renders frames samples into outputs[0] and outputs[1]; a block of 0 or fewer frames does
  // nothing. The samples are the same however the host cuts its blocks: every control period is
  // rendered whole (see ControlClock), and the engine falls asleep only where a period ends. While
  // it sleeps the outputs are silent and nothing is computed. Denormals are flushed for the call's
  // duration.
  void processBlock(float** outputs, int32_t frames);

  // Puts the signal path back to its starting state; held keys, the oscillator, the fade, the
  // limiter and the tick count keep theirs.
  void resetDsp();

  // What was rendered ahead of the host is not played: the rest of the current control period
  // stays silent (after the host stops processing).
  void silenceRenderedAhead() { clock.silenceHeld(); }

  // A note has begun: the five quiet seconds before the engine sleeps are counted from here, so a note
  // that starts just before they are full is not lost while its sound rises.
  void noteStarted() { silence.restart(); }

  // Samples per control tick at the current sample rate.
  int32_t controlPeriod() const { return period; }

  // What the latest control tick left for rendering, and the modulation sources it read (for tests).
  struct TickValues {
    float outputVolume, driveAmount, delayModulation, pan;
    float inputOffsetL, inputOffsetR, previousOffsetL, previousOffsetR, rampPosition, inputGain;
    float lfo1Rate, lfo2Rate, lfo1Send, lfo2Send;
    float stepOutput, envFast, envFastCoef;
  };
  TickValues tickValues() const;
  // The four filter states (filter 1 left, right, filter 2 left, right) and the two filters' kernels.
  const FilterState& filterState(int32_t index) const { return filterStates[index]; }
  FilterKernel filterKernel(int32_t filter) const { return kernels[filter]; }

  // The filters' modulated cutoffs and resonances (0..1) of the latest control tick.
  float filterCutoff1 = 0.0f;
  float filterCutoff2 = 0.0f;
  float filterResonance1 = 0.0f;
  float filterResonance2 = 0.0f;

 private:
  enum class Source { Lfo1, Lfo2, Step, Envelope };

  // The modulation sums of the filter values that one control tick builds.
  struct Modulation {
    float cutoff1 = 0.0f;
    float cutoff2 = 0.0f;
    float resonance1 = 0.0f;
    float resonance2 = 0.0f;
  };

  // ((send - 0.5) x 2)^3: the signed amount of a modulation send (below 0.5 it inverts).
  static float sendAmount(float send);

  void readSampleRate();
  void readSettings();
  void render(int32_t count, float* left, float* right);
  void renderLfoToInput(float* left, float* right, int32_t count);
  void applyInputStage(int32_t count);
  void addDelayTaps(float* left, float* right, int32_t count);
  void removeDc(int32_t count);  // the input's DC blocker, on both channels
  void routeThroughFilters(int32_t routing, int32_t count);
  void writeDelay(int32_t start, int32_t count);
  void mix(int32_t count, float* left, float* right);

  void controlUpdate();
  void route(Source source, int32_t destination, float m, float h, Modulation& sums);
  void selectFilters();
  void resetAllFilterStates();
  void setupDelay();

  OmAudio& effect;
  // The effect's live values as the sound plays them, each limited to 0..1 (a value that is no number
  // counts as 0). Hosts may send any value and it is kept as sent, but one far outside the range would
  // drive smoothing, envelopes, filters and the limiter so far that they take seconds to come back.
  // Read at every control tick and every reset; the period after a tick is rendered from them.
  float settings[ParameterIndex::count] = {};
  float sampleRate = 44100.0f;
  float tempo = 120.0f;
  int32_t period = 36;
  ControlClock clock;

  // Work buffers of one control period.
  float inputL[pieceCapacity] = {};
  float inputR[pieceCapacity] = {};
  float dryL[pieceCapacity] = {};
  float dryR[pieceCapacity] = {};
  float parallelL[pieceCapacity] = {};
  float parallelR[pieceCapacity] = {};
  float wetL[pieceCapacity] = {};
  float wetR[pieceCapacity] = {};

  // Delay.
  float delayLine[delayRingSize][2] = {};  // left and right side by side
  int32_t delayWrite = 0;
  float delayTarget = 0.0f;
  float delayLength = 0.0f;
  DelayTaps taps;
  bool postFilterDelay = false;
  float delayInputEnvelope = 0.0f;

  // Input stage.
  float dcStateL = 0.0f;
  float dcStateR = 0.0f;
  float dcCoefficient = 0.0f;
  float envFast = 0.0f;
  float envFastCoef = 0.0f;

  // Filters and distortion.
  FilterState filterStates[4] = {};  // filter 1 left, filter 1 right, filter 2 left, filter 2 right
  FilterKernel kernels[2] = {};
  DistortionState distortion[2];

  AudioOscillatorState oscillator;
  bool audioOscActive[2] = {};

  // Control-rate smoothing and modulation.
  float smoothCutoff1 = 0.0f;
  float smoothCutoff2 = 0.0f;
  float smoothResonance1 = 0.0f;
  float smoothResonance2 = 0.0f;
  float smoothDrive = 0.0f;
  float smoothVolume = 0.0f;
  float smoothLfo1Rate = 0.0f;
  float smoothLfo2Rate = 0.0f;
  int32_t delaySetupCountdown = 0;
  float lfo1Held = 0.0f;
  float lfo2Held = 0.0f;
  float stepLastFraction = 0.0f;
  float stepLevel = 0.0f;
  float stepOutput = 0.0f;
  int32_t lastFilterEntry1 = 0;
  int32_t lastFilterEntry2 = 0;
  float lastResetTrigger = 0.0f;

  // Values the control tick computes and rendering applies.
  float outputVolume = 0.0f;
  float driveAmount = 0.0f;
  float lfo1Rate = 0.0f;
  float lfo2Rate = 0.0f;
  float delayModulation = 0.0f;
  float pan = 0.0f;
  float inputOffsetL = 0.0f;
  float inputOffsetR = 0.0f;
  float previousOffsetL = 0.0f;
  float previousOffsetR = 0.0f;
  float lfo1Send = 0.0f;
  float lfo2Send = 0.0f;
  float inputGain = 1.0f;
  float rampPosition = 0.0f;
  bool rampOffsets = true;

  OutputLimiter limiter;
  SilenceDetector silence;
};
