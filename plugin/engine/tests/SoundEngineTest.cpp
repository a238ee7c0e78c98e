#include <gtest/gtest.h>

#include <windows.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "PrivatePluginCopy.h"
#include "plugin/engine/AudioOscillator.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterMenu.h"
#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/Random.h"
#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/FilterState.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/ModuleHandle.h"
#include "plugin/framework/VstTimeInfo.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace ParameterIndex;

VstTimeInfo hostTime{};

VstIntPtr fakeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&hostTime);
  return 0;
}

// The effect linked into this program, with a fake host whose tempo the tests set. Its folder is a
// private copy of the plug-in, so its settings file stays there.
class SoundEngineTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { loadPrivatePluginCopy("sound-engine"); }
  static void TearDownTestSuite() { releasePrivatePluginCopy(); }

  void SetUp() override {
    ASSERT_NE(hInstance, nullptr);
    hostTime = VstTimeInfo{};
    hostTime.tempo = 120.0;
    hostTime.flags = kVstTempoValid;
    effect = std::make_unique<OmAudio>(&fakeHost);
    effect->setSampleRate(44100.0f);
    // A plain patch: no filters, no distortion, no delay, no modulation, the oscillator off.
    for (int32_t index = 0; index < count; ++index) effect->setParameter(index, 0.0f);
    effect->setParameter(Volume, 0.5f);
    effect->setParameter(Cutoff1, 1.0f);
    effect->setParameter(Cutoff2, 1.0f);
    effect->resetDsp();
  }

  void entry(int32_t index, int32_t menuEntry) { effect->setParameter(index, encodeMenuEntry(menuEntry)); }

  // LFO 1 as the audio-rate oscillator with the given shape, heard dry.
  void playOscillator(int32_t shape, float rate) {
    entry(Lfo1Sync, 0);
    entry(Lfo1Destination, 15);  // "Input L&R"
    entry(Lfo1Shape, shape);
    effect->setParameter(Lfo1Send, 1.0f);
    effect->setParameter(Lfo1Rate, rate);
    effect->setParameter(DryWet, 0.0f);
    effect->resetDsp();
  }

  // A square wave driven four times louder by the "Volume" distortion.
  void playLoudPatch() {
    playOscillator(6, 0.6f);  // "Square"
    effect->setParameter(DryWet, 1.0f);
    effect->setParameter(Volume, 1.0f);
    entry(DistortionType, 7);  // "Volume": drive 1 is four times louder
    effect->setParameter(Drive, 1.0f);
    effect->resetDsp();
  }

  // Eight keys at full velocity: loud enough for the limiter to act on every sample once its envelope
  // has risen.
  void holdLoudChord() {
    for (int key = 48; key < 56; ++key) effect->noteOn(static_cast<int8_t>(key), 127);
  }

  // Renders frames samples; answers the left channel (the right one in right).
  std::vector<float> render(int32_t frames, std::vector<float>* right = nullptr) {
    std::vector<float> left(frames, 7.0f);
    std::vector<float> other(frames, 7.0f);
    float* outputs[2] = {left.data(), other.data()};
    effect->processReplacing(nullptr, outputs, frames);
    if (right) *right = other;
    return left;
  }

  std::unique_ptr<OmAudio> effect;
};

// Control ticks between successive wraps of a rising LFO value, one tick per 36-sample block.
double ticksPerCycle(OmAudio& effect, float(OmAudio::*output), int cycles) {
  std::vector<float> left(36);
  std::vector<float> right(36);
  float* outputs[2] = {left.data(), right.data()};
  for (int tick = 0; tick < 300; ++tick)
    effect.processReplacing(nullptr, outputs, 36);  // settle the smoothing
  std::vector<int> wraps;
  float previous = effect.*output;
  for (int tick = 0; wraps.size() < static_cast<size_t>(cycles) + 1 && tick < 100000; ++tick) {
    effect.processReplacing(nullptr, outputs, 36);
    if (effect.*output < previous) wraps.push_back(tick);
    previous = effect.*output;
  }
  EXPECT_EQ(wraps.size(), static_cast<size_t>(cycles) + 1);
  return static_cast<double>(wraps.back() - wraps.front()) / cycles;
}

TEST_F(SoundEngineTest, LfoPeriodsFollowTheirRateOrTheHostTempo) {
  struct Case {
    int32_t sync;
    float rate;
    double tempo;
    double expectedTicks;
  };
  const double ticksPerSecond = 44100.0 / 36.0;
  const Case cases[] = {
      {0, 0.5f, 120.0, ticksPerSecond / (72.7 * 0.25)},  // free: 72.7 x rate^2 Hz
      {0, 0.2f, 90.0, ticksPerSecond / (72.7 * 0.04)},
      {12, 0.5f, 90.0, 60.0 / 90.0 * ticksPerSecond},          // "1": one cycle per beat
      {16, 0.5f, 140.0, 60.0 / 140.0 / 4.0 * ticksPerSecond},  // "1/4": four cycles per beat
      {9, 0.5f, 75.0, 60.0 / 75.0 * 2.0 * ticksPerSecond},     // "2": a cycle every two beats
  };
  for (const Case& c : cases) {
    SetUp();
    hostTime.tempo = c.tempo;
    playOscillator(4, 0.5f);  // a sounding note keeps the engine awake
    effect->noteOn(60, 100);
    entry(Lfo2Destination, 1);  // "f Filter 1"
    entry(Lfo2Sync, c.sync);
    entry(Lfo2Shape, 2);  // "Saw Up"
    effect->setParameter(Lfo2Rate, c.rate);
    EXPECT_NEAR(ticksPerCycle(*effect, &OmAudio::lfo2Output, 4), c.expectedTicks, 1.0)
        << c.sync << " " << c.rate;
  }
}

TEST_F(SoundEngineTest, StepSequencerRunsSixteenStepsPerPatternAtTheHostTempo) {
  hostTime.tempo = 100.0;
  playOscillator(4, 0.5f);
  effect->noteOn(60, 100);
  entry(StepDestination, 1);
  entry(StepSync, 10);  // "1/4": one pattern per beat
  std::vector<int32_t> changes;
  int32_t previous = -1;
  for (int tick = 0; changes.size() < 34; ++tick) {
    render(36);
    if (effect->currentStep != previous) changes.push_back(tick);
    previous = effect->currentStep;
  }
  const double ticksPerPattern = 60.0 / 100.0 * 44100.0 / 36.0;
  EXPECT_NEAR(changes[33] - changes[1], 2.0 * ticksPerPattern, 2.0);

  entry(StepDestination, 0);
  render(36);
  EXPECT_EQ(effect->currentStep, 0);
}

TEST_F(SoundEngineTest, OscillatorPlaysTheKeyTimesRateTimesBend) {
  struct Case {
    int key;
    float rate;
    unsigned char bend;
    float sampleRate;
  };
  for (const Case& c :
       {Case{69, 0.5f, 64, 44100.0f}, Case{57, 0.8f, 96, 48000.0f}, Case{76, 0.3f, 0, 96000.0f}}) {
    SetUp();
    effect->setSampleRate(c.sampleRate);
    playOscillator(2, c.rate);  // "Saw Up"
    effect->noteOn(static_cast<int8_t>(c.key), 100);
    VstMidiEvent bend{};
    bend.type = kVstMidiType;
    bend.byteSize = sizeof bend;
    bend.midiData[0] = static_cast<char>(0xE0);
    bend.midiData[2] = static_cast<char>(c.bend);
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&bend);
    effect->processEvents(&list);

    const int32_t frames = static_cast<int32_t>(c.sampleRate);
    render(4096);  // let the level settle
    const std::vector<float> saw = render(frames);
    std::vector<int32_t> edges;
    for (int32_t i = 1; i < frames; ++i) {
      if (saw[i] - saw[i - 1] < -0.02f && (edges.empty() || i - edges.back() > 2)) edges.push_back(i);
    }
    ASSERT_GT(edges.size(), 20u);
    const double measured =
        (edges.size() - 1) * static_cast<double>(c.sampleRate) / (edges.back() - edges.front());
    const double expected = 440.0 * std::pow(2.0, (c.key - 69) / 12.0) * 1.00577 * c.rate * effect->pitchBend;
    EXPECT_NEAR(measured / expected, 1.0, 0.003) << c.key;
  }
}

TEST_F(SoundEngineTest, OscillatorToInputLAndRFeedsBothChannelsAlike) {
  playOscillator(4, 0.7f);  // "Sin"
  effect->noteOn(60, 127);
  std::vector<float> right;
  const std::vector<float> left = render(2048, &right);
  EXPECT_EQ(left, right);
  float peak = 0.0f;
  for (float x : left) peak = std::max(peak, std::fabs(x));
  EXPECT_GT(peak, 0.05f);
}

TEST_F(SoundEngineTest, SleepsAfterFiveQuietSecondsOutputsSilenceAndWakesOnNoteOn) {
  playOscillator(4, 0.7f);
  for (int block = 1; block <= 430; ++block) {
    render(512);
    ASSERT_FALSE(effect->sleeping) << block;
  }
  render(512);
  EXPECT_TRUE(effect->sleeping);
  std::vector<float> right;
  for (float x : render(512, &right)) ASSERT_EQ(x, 0.0f);
  for (float x : right) ASSERT_EQ(x, 0.0f);

  effect->noteOn(60, 127);
  EXPECT_FALSE(effect->sleeping);
  float peak = 0.0f;
  for (int block = 0; block < 4; ++block) {
    for (float x : render(512)) peak = std::max(peak, std::fabs(x));
  }
  EXPECT_GT(peak, 0.05f);
}

// The engine falls asleep where the period after which the quiet time passes five seconds ends: at 44.1 kHz
// after 6126 periods of 36 samples, at sample 220536 of the quiet. A block that ends inside that period
// still hands out its rest, and a note that comes before it ends keeps the engine awake. The oscillator,
// sent this softly, is quiet to the silence detector while its key is held, yet its sound shows whether
// the engine plays.
TEST_F(SoundEngineTest, SleepsWhereAPeriodEndsAndANoteBeforeThatEndKeepsItAwake) {
  playOscillator(4, 0.7f);
  effect->setParameter(Lfo1Send, 0.55f);
  const auto pressKey = [this] { effect->noteOn(60, 127); };
  // Plays the quiet time up to 10 samples into its last period, which is rendered whole: the sleep is
  // decided.
  const auto playIntoTheLastPeriod = [this] {
    render(220510);
    EXPECT_TRUE(effect->sleeping);
  };
  const auto sounds = [](const std::vector<float>& samples, size_t from, size_t to) {
    return std::any_of(samples.begin() + from, samples.begin() + to, [](float x) { return x != 0.0f; });
  };

  pressKey();
  playIntoTheLastPeriod();
  const std::vector<float> asleep = render(40);
  EXPECT_TRUE(sounds(asleep, 0, 26)) << "the rest of the last period";
  EXPECT_FALSE(sounds(asleep, 26, 40)) << "after the last period";
  EXPECT_TRUE(effect->sleeping);

  pressKey();  // wakes the engine; the quiet time starts again
  EXPECT_FALSE(effect->sleeping);
  playIntoTheLastPeriod();
  pressKey();  // before the last period ends
  const std::vector<float> awake = render(4096);
  EXPECT_FALSE(effect->sleeping);
  EXPECT_TRUE(sounds(awake, 4000, 4096));

  render(6 * 44100);  // five more quiet seconds
  EXPECT_TRUE(effect->sleeping);
}

// A block that ends inside a control period leaves the rest of that period rendered ahead; a host that
// stops processing (suspend) and starts again does not hear it.
TEST_F(SoundEngineTest, WhatWasRenderedAheadIsNotPlayedAfterASuspend) {
  playOscillator(6, 0.6f);  // "Square"
  effect->noteOn(60, 127);
  const std::vector<float> before = render(4096);  // 113 periods and 28 samples of the next one
  EXPECT_GT(std::fabs(before.back()), 0.01f);
  effect->suspend();
  effect->resume();
  for (float x : render(8)) EXPECT_EQ(x, 0.0f);
}

TEST_F(SoundEngineTest, LimiterActsOnLoudOutputAndReportsIt) {
  playLoudPatch();
  render(512);
  EXPECT_FALSE(effect->limiterActive);
  holdLoudChord();
  bool acted = false;
  for (int block = 0; block < 40; ++block) {
    for (float x : render(512)) ASSERT_LE(std::fabs(x), 5.0f);
    acted = acted || effect->limiterActive;
  }
  EXPECT_TRUE(acted);
}

// The lamp tells for each block whether the limiter acted on any sample the block hands out, those of a
// period rendered during an earlier block included: while the limiter acts on every sample, every block
// lights it, however short.
TEST_F(SoundEngineTest, LimiterLampIsLitInEveryBlockWhileTheLimiterActs) {
  playLoudPatch();
  holdLoudChord();
  render(2 * 44100);  // the envelope rises and stays above 1
  for (int32_t blockSize : {1, 16, 32, 512}) {
    const int32_t blocks = 44100 / 4 / blockSize;
    int32_t dark = 0;
    for (int32_t block = 0; block < blocks; ++block) {
      render(blockSize);
      if (!effect->limiterActive) ++dark;
    }
    EXPECT_EQ(dark, 0) << "of " << blocks << " blocks of " << blockSize;
  }
}

TEST_F(SoundEngineTest, ParametersGlideTowardTheirValuesOneTenthPerTick) {
  effect->setParameter(Cutoff1, 0.0f);
  effect->resetDsp();
  render(36);
  EXPECT_FLOAT_EQ(effect->sound->filterCutoff1, 0.0f);
  effect->setParameter(Cutoff1, 1.0f);
  render(36);
  EXPECT_NEAR(effect->sound->filterCutoff1, 0.1f, 1e-6f);
  render(36 * 9);
  EXPECT_NEAR(effect->sound->filterCutoff1, 1.0f - std::pow(0.9f, 10.0f), 1e-5f);
}

TEST_F(SoundEngineTest, ProgramChangeFadesTheWetSignalInOverTheFollowingTicks) {
  effect->setProgram(3);
  EXPECT_EQ(effect->fadeGain, 0.0f);
  render(36 * 10);
  EXPECT_NEAR(effect->fadeGain, 0.010f, 1e-5f);
  effect->noteOn(60, 90);
  EXPECT_EQ(effect->fadeGain, 1.0f);
}

TEST_F(SoundEngineTest, ResetTriggerResetsOnlyWhenItRisesFromExactlyZero) {
  const auto bendAndTrigger = [this](float from, float to) {
    effect->setParameter(ResetTrigger, from);
    render(72);
    effect->pitchBend = 1.1f;
    effect->setParameter(ResetTrigger, to);
    render(36);
    return effect->pitchBend;
  };
  EXPECT_EQ(bendAndTrigger(0.0f, 0.6f), 1.0f);
  EXPECT_EQ(bendAndTrigger(0.1f, 0.6f), 1.1f);
  EXPECT_EQ(bendAndTrigger(0.0f, 0.4f), 1.1f);
}

TEST_F(SoundEngineTest, EmptyBlocksChangeNothingAndTheCallersFloatingPointStateIsRestored) {
  for (int32_t frames : {0, -5}) {
    float left = 3.0f;
    float right = 4.0f;
    float* outputs[2] = {&left, &right};
    effect->processReplacing(nullptr, outputs, frames);
    EXPECT_EQ(left, 3.0f);
    EXPECT_EQ(right, 4.0f);
  }
  const unsigned int callers = _mm_getcsr();
  const unsigned int roundTowardZero = callers | 0x6000;
  _mm_setcsr(roundTowardZero);
  render(1000);
  EXPECT_EQ(_mm_getcsr(), roundTowardZero);
  _mm_setcsr(callers);
}

TEST_F(SoundEngineTest, SampleRatesOutsideTheDesignStillPlaySafely) {
  playOscillator(2, 0.5f);
  effect->noteOn(60, 100);
  for (float rate : {0.0f, -44100.0f, 800.0f, 1199.0f, std::nanf(""), 1.0e7f}) {
    effect->setSampleRate(rate);
    for (int block = 0; block < 20; ++block) {
      for (float x : render(333)) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) <= 5.0f) << rate;
    }
    EXPECT_GE(effect->sound->controlPeriod(), 1);
  }
}

// The modulation sources of the control tick.
enum class Source { None, Lfo1, Lfo2, Step, Envelope, Lfo1Oscillator };

// What one tick builds before it finishes: the filter sums and the values rendering applies.
struct TickSums {
  float cutoff1 = 0, cutoff2 = 0, resonance1 = 0, resonance2 = 0;
  float volume = 1, drive = 1, delay = 1, pan = 0, offsetL = 0, offsetR = 0;
  float lfo1Rate = 0, lfo2Rate = 0, lfo1Send = 0, lfo2Send = 0, inputGain = 1;
};

using RowEffect = void (*)(TickSums&, float m, float h);

struct DestinationRow {
  Source source;
  int32_t entry;
  RowEffect apply;
};

const RowEffect nothing = [](TickSums&, float, float) {};

// Every destination of every source: what m (the source's amount) and h (half its send) do.
std::vector<DestinationRow> destinationRows() {
  std::vector<DestinationRow> rows;
  const RowEffect common[13] = {
      nothing,
      [](TickSums& t, float m, float) { t.cutoff1 += m; },
      [](TickSums& t, float m, float) { t.cutoff2 += m; },
      [](TickSums& t, float m, float) { t.cutoff1 += m, t.cutoff2 += m; },
      [](TickSums& t, float m, float) { t.cutoff1 += m, t.cutoff2 -= m; },
      [](TickSums& t, float m, float) { t.resonance1 += m; },
      [](TickSums& t, float m, float) { t.resonance2 += m; },
      [](TickSums& t, float m, float) { t.resonance1 += m, t.resonance2 += m; },
      [](TickSums& t, float m, float) { t.resonance1 += m, t.resonance2 -= m; },
      [](TickSums& t, float m, float h) { t.volume *= 1.0f + 2.0f * (m - h); },
      [](TickSums& t, float m, float h) { t.drive *= 1.0f + 2.0f * (m - h); },
      [](TickSums& t, float m, float h) { t.delay += m - h; },
      [](TickSums& t, float m, float h) { t.pan += m - h; },
  };
  const RowEffect inputs[3] = {
      [](TickSums& t, float m, float h) { t.offsetL += m - h; },
      [](TickSums& t, float m, float h) { t.offsetR += m - h; },
      [](TickSums& t, float m, float h) { t.offsetL += m - h, t.offsetR += m - h; },
  };
  const RowEffect lfo1Delay = [](TickSums& t, float m, float h) { t.delay += 2.0f * (m - h); };
  rows.push_back({Source::None, 0, nothing});
  for (Source source : {Source::Lfo1, Source::Lfo2, Source::Step, Source::Envelope}) {
    for (int32_t entry = 1; entry <= 12; ++entry) {
      RowEffect apply = common[entry];
      if (source == Source::Lfo1 && entry == 11)
        apply = lfo1Delay;  // LFO 1 moves the delay time twice as far
      if (source == Source::Envelope && entry == 9) apply = nothing;  // the envelope's entry 9 is empty
      rows.push_back({source, entry, apply});
    }
  }
  for (Source source : {Source::Lfo1, Source::Lfo2, Source::Step}) {
    for (int32_t entry = 13; entry <= 15; ++entry) rows.push_back({source, entry, inputs[entry - 13]});
  }
  // An LFO that plays as the oscillator moves no input offset.
  for (int32_t entry = 13; entry <= 15; ++entry) rows.push_back({Source::Lfo1Oscillator, entry, nothing});
  rows.push_back({Source::Lfo1, 16, [](TickSums& t, float m, float) { t.lfo2Rate += m; }});
  rows.push_back({Source::Lfo1, 17, nothing});  // LFO 2 (off here) takes it in the same tick
  rows.push_back({Source::Lfo2, 16, [](TickSums& t, float m, float) { t.lfo1Rate += m; }});
  rows.push_back({Source::Lfo2, 17, [](TickSums& t, float m, float) { t.lfo1Send += m; }});
  rows.push_back({Source::Step, 16, [](TickSums& t, float m, float) { t.lfo1Rate += m; }});
  rows.push_back({Source::Step, 17, [](TickSums& t, float m, float) { t.lfo1Send += m; }});
  rows.push_back({Source::Step, 18, [](TickSums& t, float m, float) { t.lfo2Rate += m; }});
  rows.push_back({Source::Step, 19, [](TickSums& t, float m, float) { t.lfo2Send += m; }});
  rows.push_back(
      {Source::Step, 20, [](TickSums& t, float m, float h) { t.inputGain = 1.0f + 2.0f * (m - h); }});
  rows.push_back({Source::Envelope, 13, [](TickSums& t, float m, float) { t.lfo1Rate += m; }});
  rows.push_back({Source::Envelope, 14, [](TickSums& t, float m, float) { t.lfo2Rate += m; }});
  rows.push_back({Source::Envelope, 15, [](TickSums& t, float m, float) { t.lfo1Send += m; }});
  rows.push_back({Source::Envelope, 16, [](TickSums& t, float m, float) { t.lfo2Send += m; }});
  for (int32_t entry : {18, 19, 20, 40}) rows.push_back({Source::Lfo1, entry, nothing});
  for (int32_t entry : {18, 19, 20}) rows.push_back({Source::Lfo2, entry, nothing});
  for (int32_t entry : {21, 40}) rows.push_back({Source::Step, entry, nothing});
  for (int32_t entry : {17, 18, 20}) rows.push_back({Source::Envelope, entry, nothing});
  return rows;
}

float sendAmount(float send) {
  const float a = (send - 0.5f) * 2.0f;
  return a * a * a;
}

// One tick with each source routed to each destination: every value the tick leaves for rendering,
// from the source's amount m = a x source and h = a / 2, where a = ((send - 0.5) x 2)^3.
TEST_F(SoundEngineTest, EveryDestinationOfEverySourceAfterOneTick) {
  const char* names[] = {"none", "LFO 1", "LFO 2", "step", "envelope", "LFO 1 oscillator"};
  for (const DestinationRow& row : destinationRows()) {
    SCOPED_TRACE(testing::Message() << names[static_cast<int>(row.source)] << " to entry " << row.entry);
    SetUp();
    const struct {
      int32_t index;
      float value;
    } values[] = {{Cutoff1, 0.5f},     {Cutoff2, 0.4f},  {Resonance1, 0.3f}, {Resonance2, 0.6f},
                  {Drive, 0.6f},       {Volume, 0.7f},   {Lfo1Rate, 0.3f},   {Lfo2Rate, 0.4f},
                  {Lfo1Send, 0.85f},   {Lfo2Send, 0.2f}, {StepSend, 0.8f},   {EnvelopeSend, 0.75f},
                  {EnvelopeTime, 0.5f}};
    for (const auto& v : values) effect->setParameter(v.index, v.value);
    for (int32_t step = 0; step < 16; ++step) effect->setParameter(Step1 + step, 1.0f);
    entry(Lfo1Sync, 22);  // "1/32": the LFOs keep to the control rate
    entry(Lfo2Sync, 21);
    entry(StepSync, 16);
    entry(StepShape, 13);  // "Ramp up"
    switch (row.source) {
      case Source::Lfo1:
        entry(Lfo1Destination, row.entry);
        break;
      case Source::Lfo1Oscillator:
        entry(Lfo1Sync, 0);
        entry(Lfo1Destination, row.entry);
        break;
      case Source::Lfo2:
        entry(Lfo2Destination, row.entry);
        break;
      case Source::Step:
        entry(StepDestination, row.entry);
        break;
      case Source::Envelope:
        entry(EnvelopeDestination, row.entry);
        // The envelope follows LFO 2 playing as the oscillator.
        entry(Lfo2Sync, 0);
        entry(Lfo2Destination, 15);
        entry(Lfo2Shape, 4);
        break;
      case Source::None:
        break;
    }
    effect->resetDsp();
    effect->noteOn(60, 127);
    for (int block = 0; block < 100; ++block) render(36);
    const OmSoundEngine::TickValues before = effect->sound->tickValues();
    render(36);  // one tick and the period it starts, rendered right after it
    const OmSoundEngine::TickValues after = effect->sound->tickValues();

    float m = 0.0f;
    float a = 0.0f;
    switch (row.source) {
      case Source::Lfo1:
      case Source::Lfo1Oscillator:
        a = sendAmount(before.lfo1Send);
        m = a * effect->lfo1Output;
        break;
      case Source::Lfo2:
        a = sendAmount(before.lfo2Send);
        m = a * effect->lfo2Output;
        break;
      case Source::Step:
        a = sendAmount(0.8f);
        m = a * after.stepOutput;
        break;
      case Source::Envelope:
        a = sendAmount(0.75f);
        m = a * before.envFast * 10.0f;
        break;
      case Source::None:
        break;
    }
    if (row.source != Source::None) {
      ASSERT_GT(std::fabs(m), 0.01f);
      ASSERT_GT(std::fabs(m - 0.5f * a), 0.01f);
    }
    TickSums sums;
    row.apply(sums, m, a * 0.5f);

    const float gate = effect->gate;
    const bool stepToInput = row.source == Source::Step && row.entry >= 13 && row.entry <= 15;
    constexpr float tolerance = 2e-6f;
    EXPECT_NEAR(effect->sound->filterCutoff1, 0.5f + sums.cutoff1, tolerance);
    EXPECT_NEAR(effect->sound->filterCutoff2, 0.4f + sums.cutoff2, tolerance);
    EXPECT_NEAR(effect->sound->filterResonance1, 0.3f + sums.resonance1, tolerance);
    EXPECT_NEAR(effect->sound->filterResonance2, 0.6f + sums.resonance2, tolerance);
    EXPECT_NEAR(after.outputVolume, 0.7f * 0.7f * sums.volume, tolerance);
    EXPECT_NEAR(after.driveAmount, 0.6f * 0.6f * sums.drive, tolerance);
    EXPECT_NEAR(after.delayModulation, sums.delay, tolerance);
    EXPECT_NEAR(after.pan, sums.pan + 0.5f, tolerance);
    EXPECT_NEAR(after.inputOffsetL, sums.offsetL * 0.0625f * gate, tolerance);
    EXPECT_NEAR(after.inputOffsetR, sums.offsetR * 0.0625f * gate, tolerance);
    EXPECT_EQ(after.previousOffsetL, before.inputOffsetL);
    EXPECT_EQ(after.previousOffsetR, before.inputOffsetR);
    // The tick starts the offsets' ramp at 0, and the period moves it by 1/36 per sample; the step
    // sequencer on an input makes the offsets jump instead.
    float ramp = 0.0f;
    for (int32_t i = 0; i < 36 && !stepToInput; ++i) ramp += 1.0f / 36.0f;
    EXPECT_EQ(after.rampPosition, ramp);
    EXPECT_NEAR(after.inputGain, sums.inputGain, tolerance);
    EXPECT_NEAR(after.lfo1Rate, 0.3f + sums.lfo1Rate, tolerance);
    EXPECT_NEAR(after.lfo2Rate, 0.4f + sums.lfo2Rate, tolerance);
    EXPECT_NEAR(after.lfo1Send, 0.85f + sums.lfo1Send, tolerance);
    EXPECT_NEAR(after.lfo2Send, 0.2f + sums.lfo2Send, tolerance);
    EXPECT_FLOAT_EQ(after.envFastCoef, row.source == Source::Envelope
                                           ? fastExp(4.0f * 0.5f) * 0.0001f * 44100.0f / 44100.0f
                                           : 0.0f);
  }
}

// LFO 1's modulation of LFO 2's send is used by LFO 2's routing in the same tick, since LFO 2 is routed
// after LFO 1; the other send and rate modulations act at the next tick.
TEST_F(SoundEngineTest, LfoTwoUsesTheSendModulationOfLfoOneInTheSameTick) {
  effect->setParameter(Cutoff1, 0.5f);
  effect->setParameter(Lfo1Send, 0.9f);
  effect->setParameter(Lfo2Send, 0.7f);
  entry(Lfo1Sync, 22);
  entry(Lfo2Sync, 21);
  entry(Lfo1Destination, 17);  // "Lfo 2 send"
  entry(Lfo2Destination, 1);   // "f Filter 1"
  effect->resetDsp();
  effect->noteOn(60, 127);
  for (int block = 0; block < 100; ++block) render(36);
  const OmSoundEngine::TickValues before = effect->sound->tickValues();
  render(1);
  const float m1 = sendAmount(before.lfo1Send) * effect->lfo1Output;
  const float a2 = sendAmount(before.lfo2Send + m1);
  EXPECT_NEAR(effect->sound->filterCutoff1, 0.5f + a2 * effect->lfo2Output, 2e-6f);
  EXPECT_NEAR(effect->sound->tickValues().lfo2Send, 0.7f, 1e-6f);
}

// Within a tick the filters are selected, their settings copied into the right states, and only then,
// on a change of either filter type, the history of all four states cleared; a reset by the last
// parameter comes after the selection too, so both filters pass the signal until the next tick.
TEST_F(SoundEngineTest, FilterHistoryIsClearedAfterTheSelectionOfTheTick) {
  entry(Routing, 3);       // "Filter 1->2"
  entry(FilterType2, 46);  // "Delay"
  effect->setParameter(Cutoff2, 0.5f);
  effect->resetDsp();
  for (int block = 0; block < 10; ++block) render(36);
  const auto& f1 = effect->sound->filterState(0);
  const auto& f1Right = effect->sound->filterState(1);
  const auto& f2 = effect->sound->filterState(2);
  EXPECT_EQ(f2.element[DelayLineElement::writePosition], 360.0f);

  entry(FilterType1, 48);  // "Reverb big1"
  render(1);               // the tick, and the period after it rendered whole
  EXPECT_EQ(f1.element[FilterElement::family], 12.0f);
  EXPECT_EQ(f1Right.element[ReverbElement::length], f1.element[ReverbElement::length]);
  for (int32_t tap = 0; tap < 30; ++tap) {
    EXPECT_EQ(f1.element[ReverbElement::taps + tap], 0.0f) << tap;
    EXPECT_EQ(f1Right.element[ReverbElement::taps + tap], 0.0f) << tap;
  }
  // Filter 2's ring started afresh at the tick: one period has been written into it since.
  EXPECT_EQ(f2.element[DelayLineElement::writePosition], 36.0f);
  render(36);
  EXPECT_GT(f1.element[ReverbElement::taps], 0.0f);
  EXPECT_EQ(f1Right.element[ReverbElement::taps], f1.element[ReverbElement::taps]);

  effect->setParameter(ResetTrigger, 0.6f);
  render(36);  // its tick comes one sample before the end
  EXPECT_EQ(effect->sound->filterKernel(0), emptyKernel);
  EXPECT_EQ(effect->sound->filterKernel(1), emptyKernel);
  render(36);
  EXPECT_EQ(effect->sound->filterKernel(0), reverbKernel);
  EXPECT_EQ(effect->sound->filterKernel(1), delayKernel);
}

// What one plain patch renders, written out from the formulas of a piece: LFO 1 plays "Square" into both
// inputs (replayed here through the same oscillator), the input DC blocker, the routing through two
// filters that are either "Bypass" or a "Delay" that stays silent for its first 11025 samples, the delay
// taps with the glide of their length, and the mix with its pan. Blocks of one control period, each with
// a known random state for the DC blocker's noise.
class PieceReference {
 public:
  struct Settings {
    int32_t routing = 0;
    bool delayFilter1 = false;
    bool delayFilter2 = false;
    int32_t delayType = -1;  // -1: no delay send
    float dryWet = 1.0f;
    float volume = 0.5f;
    float stepSend = 0.5f;     // the step sequencer pans by ((send - 0.5) x 2)^3 / 2
    int32_t shape = 6;         // of LFO 1: "Square" makes the offsets jump, "Sin" lets them ramp
    bool lfo2ToInput = false;  // LFO 2 ("Tri", synced) moves the left input's offset
    bool loud = false;         // four keys, and the step sequencer doubles the input gain instead of panning
  };

  static constexpr int32_t kBlock = 36;

  PieceReference(OmAudio& effect, const Settings& settings) : effect(effect), settings(settings) {
    buildNoteTable(oscillator.noteIncrement);
    ringL.assign(262144, 0.0f);
    ringR.assign(262144, 0.0f);
    // The length the DSP reset gives: "BPM x16" at 120 beats per minute.
    length = 44100.0f * (0.0625f * 1.0f * 60.0f / 120.0f);
  }

  // Whether the delay's input level reached 0.5, where the writes are scaled down.
  bool delayInputLimited() const { return limited; }

  // Renders one block through the effect and compares it with the formulas.
  void compareBlock(int32_t block) {
    const std::uint32_t seed = 7919u * static_cast<std::uint32_t>(block + 1);
    std::vector<float> outL(kBlock), outR(kBlock);
    float* outputs[2] = {outL.data(), outR.data()};
    randomSeed.store(seed);
    effect.processReplacing(nullptr, outputs, kBlock);
    const OmSoundEngine::TickValues tick = effect.sound->tickValues();

    // The oscillator's piece, left and right alike.
    std::vector<float> dry(kBlock, 0.0f);
    const float a = (tick.lfo1Send - 0.5f) * 2.0f;
    renderOscillator(dry.data(), kBlock, oscillator, effect.keyTarget, 0, settings.shape,
                     tick.lfo1Rate * effect.pitchBend * 44100.0f / 44100.0f, a * a * a, 44100.0f);

    // Delay setup at ticks 1, 101, ...: the first reads the delay-time modulation the reset left at 0.
    if (block % 100 == 0) target = 44100.0f * (0.0625f * (block == 0 ? 0.0f : 1.0f) * 60.0f / 120.0f);
    const bool delayOn = settings.delayType >= 0;
    const bool post = settings.delayType >= 9;

    // The input gain, applied twice, and the offsets, ramped from the previous tick's across the period
    // unless the delay setup said not to (then the ramp position stays at 0).
    std::vector<float> inL(kBlock), inR(kBlock);
    const bool ramped = tick.rampPosition > 0.0f;
    float t = 0.0f;
    for (int32_t i = 0; i < kBlock; ++i) {
      const float g = tick.inputGain;
      const float x = dry[i] * g;
      if (ramped) {
        inL[i] = t * tick.inputOffsetL + g * x + (1.0f - t) * tick.previousOffsetL + 1e-5f;
        inR[i] = t * tick.inputOffsetR + g * x + (1.0f - t) * tick.previousOffsetR + 1e-5f;
        t += 1.0f / static_cast<float>(kBlock);
      } else {
        inL[i] = g * x + tick.inputOffsetL + 1e-5f;
        inR[i] = g * x + tick.inputOffsetR + 1e-5f;
      }
    }
    EXPECT_FLOAT_EQ(tick.rampPosition, t);
    const int32_t start = write;
    if (delayOn && !post) addTaps(inL, inR);
    randomSeed.store(seed);
    removeDc(inL, dcL);
    removeDc(inR, dcR);
    std::vector<float> wetL(kBlock), wetR(kBlock);
    for (int32_t i = 0; i < kBlock; ++i) route(inL[i], inR[i], wetL[i], wetR[i]);
    if (delayOn && post) addTaps(wetL, wetR);
    if (delayOn) writeDelay(start, wetL, wetR);

    const float wetGain = tick.outputVolume * 4.0f * effect.fadeGain * settings.dryWet;
    const float dryGain = 1.0f - settings.dryWet;
    for (int32_t i = 0; i < kBlock; ++i) {
      const float left = clip(2.0f * tick.pan * wetGain * wetL[i] + dryGain * dry[i], -5.0f, 5.0f);
      const float right = clip(2.0f * (1.0f - tick.pan) * wetGain * wetR[i] + dryGain * dry[i], -5.0f, 5.0f);
      ASSERT_FLOAT_EQ(outL[i], left) << "block " << block << " sample " << i;
      ASSERT_FLOAT_EQ(outR[i], right) << "block " << block << " sample " << i;
    }
  }

 private:
  void removeDc(std::vector<float>& x, float& state) const {
    const float c = 10.0f / 44100.0f;
    for (float& v : x) {
      state = (v + 1e-5f) * c + (1.0f - c) * state;
      const float r = randomInRange(-1e-5f, 1e-5f);
      v = v - (r + (state - 1e-6f));
    }
  }

  void route(float xL, float xR, float& wetL, float& wetR) const {
    const auto filter1 = [this](float x) { return settings.delayFilter1 ? 0.0f : x; };
    const auto filter2 = [this](float x) { return settings.delayFilter2 ? 0.0f : x; };
    switch (settings.routing) {
      case 0:
        wetL = xL, wetR = xR;
        break;
      case 1:
        wetL = filter1(xL), wetR = filter1(xR);
        break;
      case 2:
        wetL = filter2(xL), wetR = filter2(xR);
        break;
      case 3:
        wetL = filter2(filter1(xL)), wetR = filter2(filter1(xR));
        break;
      case 4:
        wetL = (filter2(xL) + filter1(xL)) * 0.5f + 1e-6f, wetR = (filter2(xR) + filter1(xR)) * 0.5f + 1e-6f;
        break;
      case 5:
        wetL = (filter2(xL) - filter1(xL)) * 0.5f + 1e-6f, wetR = (filter2(xR) - filter1(xR)) * 0.5f + 1e-6f;
        break;
      case 6:
        wetL = filter1(xL), wetR = filter2(xR);
        break;
      default:
        wetL = filter2(xL) * filter1(xL) * 10.0f + 1e-6f, wetR = filter2(xR) * filter1(xR) * 10.0f + 1e-6f;
        break;
    }
  }

  // The taps of "360°Rear" at full send.
  void addTaps(std::vector<float>& left, std::vector<float>& right) {
    const float taps[4][5] = {
        {1, 0, 0.5f, 0, 0}, {2, 0, 0, 0, 0.5f}, {3, 0.5f, 0, 0, -0.5f}, {0, 0, 0, 0, 0}};
    for (int32_t i = 0; i < kBlock; ++i) {
      if (length > target) length -= 0.5f;
      if (length < target) length += 0.5f;
      for (const auto& tap : taps) {
        const int32_t p = (write - static_cast<int32_t>(tap[0] * length) - 1) & 0x3ffff;
        left[i] += (tap[1] * ringL[p] + tap[2] * ringR[p]) + 1e-6f;
        right[i] += (tap[3] * ringR[p] + tap[4] * ringL[p]) + 1e-6f;
      }
      write = (write + 1) & 0x3ffff;
    }
  }

  void writeDelay(int32_t start, const std::vector<float>& wetL, const std::vector<float>& wetR) {
    write = start;
    const float k = (1.0f / 44100.0f) * 20.5f * 0.5f;
    for (int32_t i = 0; i < kBlock; ++i) {
      envelope = ((1.0f - k) * envelope + 1e-6f) + (std::fabs(wetR[i]) + std::fabs(wetL[i])) * k;
      const float scale = envelope >= 0.5f ? 0.5f / envelope : 1.0f;
      if (envelope >= 0.5f) limited = true;
      ringL[write] = clip(wetL[i] * scale, -1.0f, 1.0f) * effect.fadeGain;
      ringR[write] = clip(wetR[i] * scale, -1.0f, 1.0f) * effect.fadeGain;
      write = (write + 1) & 0x3ffff;
    }
  }

  OmAudio& effect;
  const Settings settings;
  AudioOscillatorState oscillator;
  float dcL = 0.0f, dcR = 0.0f;
  std::vector<float> ringL, ringR;
  int32_t write = 0;
  float length = 0.0f;
  float target = 0.0f;
  float envelope = 0.0f;
  bool limited = false;
};

class SoundEnginePieceTest : public SoundEngineTest {
 protected:
  // LFO 1 as the oscillator at key 69 with the settings; runs blocks against the reference.
  void compare(const PieceReference::Settings& settings, int32_t blocks) {
    SetUp();
    playOscillator(settings.shape, 0.5f);
    if (settings.lfo2ToInput) {
      entry(Lfo2Sync, 12);
      entry(Lfo2Destination, 13);  // "Input L"
      effect->setParameter(Lfo2Send, 0.9f);
    }
    entry(Routing, settings.routing);
    entry(FilterType1, settings.delayFilter1 ? 46 : 0);
    entry(FilterType2, settings.delayFilter2 ? 46 : 0);
    if (settings.delayType >= 0) {
      effect->setParameter(DelaySend, 1.0f);
      entry(DelayType, settings.delayType);
      entry(DelaySync, 0);  // "BPM x16"
    }
    effect->setParameter(DryWet, settings.dryWet);
    effect->setParameter(Volume, settings.volume);
    effect->setParameter(StepSend, settings.stepSend);
    for (int32_t step = 0; step < 16; ++step) effect->setParameter(Step1 + step, 1.0f);
    entry(StepDestination, settings.loud ? 20 : 12);  // "Input volume" or "Panning"
    effect->resetDsp();
    effect->noteOn(69, 100);
    if (settings.loud) {
      for (int8_t key : {72, 76, 81}) effect->noteOn(key, 127);
    }
    auto reference = std::make_unique<PieceReference>(*effect, settings);
    for (int32_t block = 0; block < blocks; ++block) {
      reference->compareBlock(block);
      if (HasFatalFailure()) return;
    }
    delayInputLimited = reference->delayInputLimited();
  }

  bool delayInputLimited = false;
};

// The input gain and offsets, the DC blocker, and the mix of the wet and the dry signal with its pan.
TEST_F(SoundEnginePieceTest, DcBlockerMixAndPan) {
  const struct {
    float dryWet, volume, stepSend;
    int32_t shape;
    bool lfo2ToInput;
  } cases[] = {{1.0f, 0.5f, 0.5f, 6, false},  {0.3f, 0.7f, 0.8f, 6, false}, {0.0f, 0.6f, 0.2f, 6, false},
               {0.75f, 0.9f, 1.0f, 6, false}, {1.0f, 0.5f, 0.5f, 4, true},  {0.6f, 0.8f, 0.3f, 4, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "dry/wet " << c.dryWet << " volume " << c.volume << " step send "
                                    << c.stepSend << " shape " << c.shape
                                    << (c.lfo2ToInput ? " offsets" : ""));
    PieceReference::Settings settings;
    settings.dryWet = c.dryWet;
    settings.volume = c.volume;
    settings.stepSend = c.stepSend;
    settings.shape = c.shape;
    settings.lfo2ToInput = c.lfo2ToInput;
    compare(settings, 60);
  }
}

// Every routing entry with filters that pass the signal or silence it.
TEST_F(SoundEnginePieceTest, EveryRoutingEntry) {
  const struct {
    int32_t routing;
    bool delay1, delay2;
  } cases[] = {{0, true, true},  {1, true, false}, {2, false, true},  {3, false, true},
               {4, false, true}, {4, true, false}, {5, false, true},  {5, true, false},
               {6, true, false}, {6, false, true}, {7, false, false}, {7, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "routing " << c.routing << (c.delay1 ? " filter 1 silent" : "")
                                    << (c.delay2 ? " filter 2 silent" : ""));
    PieceReference::Settings settings;
    settings.routing = c.routing;
    settings.delayFilter1 = c.delay1;
    settings.delayFilter2 = c.delay2;
    compare(settings, 30);
    if (c.routing == 6) {
      // Filter 2 runs on the right channel with its right-hand state; filter 1's right and filter 2's left
      // states stay untouched.
      const auto position = [this](int32_t state) {
        return effect->sound->filterState(state).element[DelayLineElement::writePosition];
      };
      EXPECT_EQ(position(c.delay1 ? 0 : 3), 30.0f * 36.0f);
      EXPECT_EQ(position(1), 0.0f);
      EXPECT_EQ(position(2), 0.0f);
    }
  }
}

// The four taps before and after the filters, while the delay length glides down to the first setup's
// target of 0 and back up to "BPM x16" after the hundredth tick.
TEST_F(SoundEnginePieceTest, DelayTapsWhileTheirLengthGlides) {
  for (int32_t type : {6, 15}) {  // "360°Rear" before and after the filters
    for (bool loud : {false, true}) {
      SCOPED_TRACE(testing::Message() << "type " << type << (loud ? " loud" : ""));
      PieceReference::Settings settings;
      settings.delayType = type;
      settings.dryWet = 0.8f;
      settings.loud = loud;
      settings.stepSend = loud ? 1.0f : 0.5f;
      compare(settings, loud ? 300 : 150);  // loud: until the limited writes come back through the taps
      EXPECT_EQ(delayInputLimited, loud);
    }
  }
}

}  // namespace
