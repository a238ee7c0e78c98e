#include <gtest/gtest.h>

#include <windows.h>
#include <xmmintrin.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "PrivatePluginCopy.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterMenu.h"
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
  playOscillator(6, 0.6f);  // "Square"
  effect->setParameter(DryWet, 1.0f);
  effect->setParameter(Volume, 1.0f);
  entry(DistortionType, 7);  // "Volume": drive 1 is four times louder
  effect->setParameter(Drive, 1.0f);
  effect->resetDsp();
  render(512);
  EXPECT_FALSE(effect->limiterActive);
  for (int key = 48; key < 56; ++key) effect->noteOn(static_cast<int8_t>(key), 127);
  bool acted = false;
  for (int block = 0; block < 40; ++block) {
    for (float x : render(512)) ASSERT_LE(std::fabs(x), 5.0f);
    acted = acted || effect->limiterActive;
  }
  EXPECT_TRUE(acted);
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

}  // namespace
