// The effect under values that no sound parameter should hold: not-a-number and infinities from any
// road, and sample rates far beyond any device. Nothing may stick: once sound values come back, the
// instrument plays again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "PrivatePluginCopy.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterMenu.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/ModuleHandle.h"

namespace {

using namespace ParameterIndex;

const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

class HostileValuesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { loadPrivatePluginCopy("hostile-values"); }
  static void TearDownTestSuite() { releasePrivatePluginCopy(); }

  void SetUp() override {
    ASSERT_NE(hInstance, nullptr);
    playSaw();
  }

  // A fresh effect playing a held saw from the oscillator through a low-pass filter, heard wet only.
  void playSaw() {
    effect = std::make_unique<OmAudio>(&quietHost);
    effect->setSampleRate(44100.0f);
    for (int32_t index = 0; index < count; ++index) effect->setParameter(index, 0.0f);
    entry(FilterType1, 4);  // "LP SVF"
    entry(Routing, 1);      // "Filter 1"
    entry(Lfo1Destination, 15);
    entry(Lfo1Shape, 2);
    effect->setParameter(Lfo1Rate, 0.5f);
    effect->setParameter(Lfo1Send, 1.0f);
    effect->setParameter(Cutoff1, 0.7f);
    effect->setParameter(Volume, 0.5f);
    effect->setParameter(DryWet, 1.0f);
    effect->resetDsp();
    effect->noteOn(60, 100);
  }

  void entry(int32_t index, int32_t menuEntry) { effect->setParameter(index, encodeMenuEntry(menuEntry)); }

  // The loudest sample of frames rendered samples; every sample must be finite.
  float peak(int32_t frames) {
    std::vector<float> left(frames);
    std::vector<float> right(frames);
    float* outputs[2] = {left.data(), right.data()};
    effect->processReplacing(nullptr, outputs, frames);
    float loudest = 0.0f;
    for (int32_t i = 0; i < frames; ++i) {
      EXPECT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << "sample " << i;
      loudest = std::max(loudest, std::max(std::fabs(left[i]), std::fabs(right[i])));
    }
    return loudest;
  }

  std::unique_ptr<OmAudio> effect;
};

TEST_F(HostileValuesTest, AValueThatIsNoNumberCountsAsZeroEverywhere) {
  for (const float bad : {notANumber, infinity, -infinity}) {
    for (int32_t index = 0; index < count; ++index) {
      effect->setParameter(index, bad);
      EXPECT_EQ(effect->getParameter(index), 0.0f) << "parameter " << index << " set to " << bad;
      EXPECT_EQ(effect->programs[effect->getProgram()].values[index], 0.0f) << "parameter " << index;
    }
    char text[64] = {};
    effect->getParameterDisplay(Cutoff1, text);
    EXPECT_STREQ(text, "50");
  }
}

// Each parameter in turn holds a value that is no number for a block, then its sound value again.
TEST_F(HostileValuesTest, NoParameterKeepsTheInstrumentSilentAfterANonNumber) {
  const float before = peak(4410);
  ASSERT_GT(before, 0.01f);
  for (const float bad : {notANumber, infinity, -infinity}) {
    for (int32_t index = 0; index < count; ++index) {
      const float sound = effect->getParameter(index);
      effect->setParameter(index, bad);
      peak(512);
      effect->setParameter(index, sound);
      effect->noteOn(60, 100);
      EXPECT_GT(peak(8820), before * 0.25f) << "parameter " << index << " after " << bad;
    }
  }
}

// Values reach the effect through setParameter; should one ever be written around it, the glide of the
// smoothed parameters still starts again from the next sound value.
TEST_F(HostileValuesTest, SmoothedParametersRecoverFromAStoredNonNumber) {
  const float before = peak(4410);
  ASSERT_GT(before, 0.01f);
  for (const int32_t index : {Cutoff1, Cutoff2, Resonance1, Resonance2, Drive, Volume, Lfo1Rate, Lfo2Rate}) {
    const float sound = effect->values[index];
    effect->values[index] = notANumber;
    peak(512);
    effect->values[index] = sound;
    effect->noteOn(60, 100);
    EXPECT_GT(peak(8820), before * 0.25f) << "parameter " << index;
    EXPECT_TRUE(std::isfinite(effect->sound->filterCutoff1)) << "parameter " << index;
  }
}

// What a stretch of rendering in blocks of blockSize sounded like.
struct Heard {
  double sumOfSquares = 0.0;
  int64_t samples = 0;
  int64_t nonFinite = 0;

  float rmsDecibels() const { return 10.0f * std::log10(static_cast<float>(sumOfSquares / samples)); }
};

class HostileFiniteValuesTest : public HostileValuesTest {
 protected:
  static constexpr int32_t blockSize = 512;

  // The saw with every stage of the signal path playing: it runs through both filters in series, the
  // distortion and a short delay; LFO 2, the envelope and the step sequencer are routed to the
  // filters with sends at their neutral middle, so a hostile send or rate still reaches them.
  void playEveryStage() {
    playSaw();
    entry(Routing, 3);  // "Filter 1->2"
    entry(FilterType2, 4);
    effect->setParameter(Cutoff2, 0.9f);
    effect->setParameter(Resonance1, 0.3f);
    entry(DistortionType, 1);  // "Tube amp"
    effect->setParameter(Drive, 0.5f);
    effect->setParameter(DelaySend, 0.3f);
    entry(DelayType, 9);  // "Simple"
    entry(Lfo2Destination, 1);
    effect->setParameter(Lfo2Rate, 0.3f);
    effect->setParameter(Lfo2Send, 0.5f);
    entry(EnvelopeDestination, 5);
    effect->setParameter(EnvelopeTime, 0.5f);
    effect->setParameter(EnvelopeSend, 0.5f);
    entry(StepDestination, 2);
    effect->setParameter(StepSend, 0.5f);
    effect->resetDsp();
    effect->noteOn(60, 100);
  }

  Heard render(int32_t frames) {
    std::vector<float> left(blockSize);
    std::vector<float> right(blockSize);
    float* outputs[2] = {left.data(), right.data()};
    Heard heard;
    for (int32_t done = 0; done < frames; done += blockSize) {
      const int32_t count = std::min(blockSize, frames - done);
      effect->processReplacing(nullptr, outputs, count);
      for (int32_t i = 0; i < count; ++i) {
        if (!std::isfinite(left[i]) || !std::isfinite(right[i])) ++heard.nonFinite;
        heard.sumOfSquares += static_cast<double>(left[i]) * left[i] + static_cast<double>(right[i]) * right[i];
      }
      heard.samples += 2 * count;
    }
    return heard;
  }
};

// A host's automation glitch: one parameter holds a finite value far outside 0..1 for a single block
// and then its own value again. Each case plays on a fresh effect and is compared with the same
// rendering without the glitch: a quarter of a second after it, the level of the next tenth of a
// second lies within 1 dB of the undisturbed one (the tone is steady, so its level does not depend on
// where its phases stand), and no sample is ever anything but a finite number.
TEST_F(HostileFiniteValuesTest, NoFiniteValueOutsideTheRangeLeavesTheSoundChanged) {
  constexpr int32_t start = 4096;
  constexpr int32_t settle = 11025;
  constexpr int32_t window = 4410;
  playEveryStage();
  render(start + blockSize + settle);
  const Heard undisturbed = render(window);
  ASSERT_EQ(undisturbed.nonFinite, 0);
  ASSERT_GT(undisturbed.rmsDecibels(), -40.0f);
  for (const float hostile : {2.0f, -1.0f, 1.0e6f, 1.0e30f, -1.0e30f, FLT_MAX, -FLT_MAX}) {
    for (int32_t index = 0; index < count; ++index) {
      playEveryStage();
      render(start);
      const float own = effect->getParameter(index);
      effect->setParameter(index, hostile);
      EXPECT_EQ(render(blockSize).nonFinite, 0) << "parameter " << index << " at " << hostile;
      effect->setParameter(index, own);
      EXPECT_EQ(render(settle).nonFinite, 0) << "parameter " << index << " after " << hostile;
      const Heard after = render(window);
      EXPECT_EQ(after.nonFinite, 0) << "parameter " << index << " after " << hostile;
      EXPECT_NEAR(after.rmsDecibels(), undisturbed.rmsDecibels(), 1.0f)
          << "parameter " << index << " after " << hostile;
    }
  }
}

TEST_F(HostileValuesTest, AProgramLeftAndChosenAgainHoldsNoNonNumber) {
  const int32_t current = effect->getProgram();
  effect->setParameter(Volume, notANumber);
  effect->setProgram(current == 0 ? 1 : 0);
  effect->setProgram(current);
  EXPECT_EQ(effect->getParameter(Volume), 0.0f);
  EXPECT_EQ(effect->programs[current].values[Volume], 0.0f);
}

// The filters are chosen with the sample rate as a whole number of hertz: rates that no 32-bit integer
// holds must still give a defined choice (the filters then pass the sound unfiltered).
TEST_F(HostileValuesTest, SampleRatesBeyondEveryIntegerChooseTheFiltersSafely) {
  entry(Routing, 3);  // "Filter 1->2"
  entry(FilterType2, 10);
  for (const float rate : {2147483648.0f, 3.0e9f, 1.0e20f, FLT_MAX}) {
    effect->setSampleRate(rate);
    effect->resetDsp();
    effect->noteOn(60, 100);
    // The longest control period is 65536 samples: this renders at least two ticks.
    for (int block = 0; block < 33; ++block) EXPECT_LE(peak(4096), 5.0f) << "rate " << rate;
  }
}

}  // namespace
