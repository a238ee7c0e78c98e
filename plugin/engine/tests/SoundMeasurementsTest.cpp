#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "plugin/engine/tools/SoundMeasurements.h"

namespace {

constexpr double sampleRate = 44100.0;
constexpr int32_t blockSize = 512;
constexpr int32_t heldFrames = 259 * blockSize;
constexpr int32_t totalFrames = 2 * heldFrames;
constexpr double pi = 3.14159265358979323846;

// A rendering whose both channels follow signal(time in seconds) while held and fall silent on release.
StereoRendering renderingOf(const std::function<double(double)>& signal) {
  StereoRendering rendering;
  rendering.sampleRate = sampleRate;
  rendering.blockSize = blockSize;
  rendering.releaseFrame = heldFrames;
  rendering.left.assign(totalFrames, 0.0f);
  rendering.right.assign(totalFrames, 0.0f);
  for (int32_t i = 0; i < heldFrames; ++i) {
    rendering.left[i] = rendering.right[i] = static_cast<float>(signal(i / sampleRate));
  }
  return rendering;
}

TEST(SoundMeasurements, SteadySineHasItsLevelPitchAndNoMovement) {
  const SoundMeasurements m =
      measureRendering(renderingOf([](double t) { return 0.5 * std::sin(2 * pi * 1000 * t); }));
  EXPECT_TRUE(m.finite);
  EXPECT_NEAR(m.heldRmsDb, -9.03, 0.05);
  EXPECT_NEAR(m.peakDb, -6.02, 0.05);
  EXPECT_LT(m.dcOffset, 1e-4);
  EXPECT_NEAR(m.centroidHz, 1000.0, 60.0);
  EXPECT_LT(m.lowShare, 0.01);
  EXPECT_LT(m.modulationDepthDb, 0.5);
  EXPECT_EQ(m.modulationRateHz, 0.0);
  EXPECT_LT(m.releaseSeconds, 0.05);
  EXPECT_EQ(m.limiterShare, 0.0);
  EXPECT_GT(m.pitchClarity, 0.99);
  EXPECT_LT(m.peakSpanOctaves, 0.1);
  // A third-octave band around 1 kHz holds the tone.
  EXPECT_NEAR(m.thirdOctaveDb[16], -9.03, 1.0);
  EXPECT_LT(m.thirdOctaveDb[10], -40.0);
}

TEST(SoundMeasurements, TremoloShowsItsDepthAndRate) {
  const SoundMeasurements m = measureRendering(renderingOf(
      [](double t) { return 0.3 * (0.55 + 0.45 * std::sin(2 * pi * 4 * t)) * std::sin(2 * pi * 440 * t); }));
  EXPECT_GT(m.modulationDepthDb, 15.0);
  EXPECT_NEAR(m.modulationRateHz, 4.0, 0.2);
  EXPECT_GT(m.envelopeCrestDb, 2.0);
}

TEST(SoundMeasurements, GlideSweepsItsOctaves) {
  // An exponential glide from 200 Hz to 1600 Hz over the held time: three octaves.
  const double seconds = heldFrames / sampleRate;
  const SoundMeasurements m = measureRendering(renderingOf([seconds](double t) {
    const double rate = std::log(8.0) / seconds;
    return 0.3 * std::sin(2 * pi * 200 * (std::exp(rate * t) - 1.0) / rate);
  }));
  EXPECT_NEAR(m.peakSpanOctaves, 3.0 * 0.8, 0.3);
  EXPECT_NEAR(m.centroidSpanOctaves, 3.0 * 0.8, 0.3);
}

TEST(SoundMeasurements, DecayingHitsArePercussive) {
  const SoundMeasurements m = measureRendering(renderingOf(
      [](double t) { return 0.5 * std::exp(-40 * std::fmod(t, 0.5)) * std::sin(2 * pi * 200 * t); }));
  EXPECT_GT(m.envelopeCrestDb, 12.0);
  EXPECT_NEAR(m.modulationRateHz, 2.0, 0.1);
  EXPECT_LT(m.attackSeconds, 0.01);
}

TEST(SoundMeasurements, LimiterActivityIsRecoveredFromItsOutput) {
  // Growing loud enough that the output limiter holds it: the samples as the limiter leaves them.
  const double k = 3.0 / sampleRate;
  double envelope = 0.0;
  StereoRendering rendering = renderingOf([](double) { return 0.0; });
  for (int32_t i = 0; i < heldFrames; ++i) {
    const double x = (0.6 + 0.6 * i / heldFrames) * std::sin(2 * pi * 300 * i / sampleRate);
    envelope = 2.0 * std::fabs(x) * k + ((1.0 - k) * envelope + 1e-6);
    const double gain = envelope >= 1.0 ? 0.7 / envelope + 0.3 : 1.0;
    rendering.left[i] = rendering.right[i] = static_cast<float>(x * gain);
  }
  const SoundMeasurements loud = measureRendering(rendering);
  EXPECT_GT(loud.limiterShare, 0.3);
  EXPECT_LT(loud.peakDb, 20.0 * std::log10(1.1));
  EXPECT_NEAR(loud.unlimitedPeakDb, 20.0 * std::log10(1.2), 0.01);
  // The same signal a little quieter never reaches the limiter.
  for (float& sample : rendering.left) sample *= 0.5f;
  for (float& sample : rendering.right) sample *= 0.5f;
  const SoundMeasurements quiet = measureRendering(rendering);
  EXPECT_EQ(quiet.limiterShare, 0.0);
  EXPECT_EQ(quiet.unlimitedPeakDb, quiet.peakDb);
}

TEST(SoundMeasurements, OffsetsAndBrokenSamplesAreReported) {
  EXPECT_NEAR(
      measureRendering(renderingOf([](double t) { return 0.1 + 0.2 * std::sin(2 * pi * 500 * t); })).dcOffset,
      0.1, 1e-3);
  StereoRendering rendering = renderingOf([](double t) { return 0.2 * std::sin(2 * pi * 500 * t); });
  rendering.right[1000] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(measureRendering(rendering).finite);
}

TEST(SoundMeasurements, EmptyRenderingMeasuresNothing) {
  const SoundMeasurements m = measureRendering(StereoRendering{});
  EXPECT_TRUE(m.finite);
  EXPECT_EQ(m.heldPower, 0.0);
}

}  // namespace
