#include "plugin/engine/Distortion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "plugin/engine/dsp/FastMath.h"

namespace {

// A plain model of the oversampling distortion: it keeps the whole history of the samples written
// into the interpolator and the decimator instead of two 16-entry rings.
struct ReferenceRow {
  int32_t type;
  std::function<float(float)> gainIn;
  std::function<float(float, float)> shapeA;  // (sample, drive)
  std::function<float(float, float)> shapeB;
  float gainOut;
};

float halfBandAt(const std::vector<float>& history, int64_t n) {
  const auto at = [&history](int64_t index) { return index < 0 ? 0.0f : history[index]; };
  return (at(n - 4) + at(n - 14)) * 0.1074f - (at(n - 6) + at(n - 12)) * 0.183f +
         (at(n - 8) + at(n - 10)) * 0.6264f;
}

std::vector<float> referenceDistort(const ReferenceRow& row, const std::vector<float>& input, float drive) {
  std::vector<float> up;
  std::vector<float> down;
  std::vector<float> output;
  for (float x : input) {
    up.push_back(row.gainIn(drive) * x);
    const int64_t n = static_cast<int64_t>(up.size());
    const float a = row.shapeA(halfBandAt(up, n), drive);
    const float b = row.shapeB(n >= 9 ? up[n - 9] : 0.0f, drive);
    down.push_back(a * 0.5f);
    down.push_back(b * 0.5f);
    const int64_t m = static_cast<int64_t>(down.size());
    output.push_back((halfBandAt(down, m) + (m >= 9 ? down[m - 9] : 0.0f)) * row.gainOut);
  }
  return output;
}

std::vector<float> testSignal(size_t count) {
  std::vector<float> signal(count);
  for (size_t i = 0; i < count; ++i) {
    signal[i] =
        0.8f * std::sin(0.05f * static_cast<float>(i)) + 0.3f * std::sin(0.31f * static_cast<float>(i));
  }
  return signal;
}

float exponentialGain(float drive) {
  return fastExp(drive * 10.0f) / 10.0f;
}

float nearestIntegerDistance(float x, float drive) {
  const float g = fastExp(drive * 4.0f);
  const float a = x * g;
  const float r = std::floor(std::fabs(a) + 0.5f);
  return ((a > 0 ? r : -r) - a) / g;
}

float crush(float x, float drive) {
  const float c = fastExp((1.0f - drive) * 6.0f) * 4.0f;
  const float q = std::floor(std::sqrt(std::fabs(x) * c));
  return (x < 0 ? -1.0f : 1.0f) * q * q / c;
}

std::vector<ReferenceRow> referenceRows() {
  const auto one = [](float) { return 1.0f; };
  const auto rational = [](float x, float) { return x / (std::fabs(x) + 1.0f); };
  const auto presence = [](float x, float) { return x / (x * x + 1.0f); };
  const auto sine = [](float x, float) { return fastSine(x); };
  return {
      {1, exponentialGain, rational, [&](float x, float d) { return fastSine(rational(x, d)); }, 0.5f},
      {2, exponentialGain, [](float x, float) { return std::fmax(-1.0f, std::fmin(1.0f, x)); },
       [](float x, float) { return std::fmax(-1.0f, std::fmin(1.0f, x)); }, 0.4f},
      {3, exponentialGain, presence, [&](float x, float d) { return fastSine(presence(x, d)); }, 0.8f},
      {4, one, nearestIntegerDistance, nearestIntegerDistance, 3.0f},
      {5, exponentialGain, sine, sine, 0.5f},
      {6, one, crush, crush, 1.5f},
      {8, [](float d) { return std::sqrt(d) * 10.0f; }, [](float x, float) { return x * x; },
       [](float x, float) { return x * x; }, 2.0f},
      {9, [](float d) { return std::sqrt(d) * 10.0f; }, [](float x, float) { return x * x * x; },
       [](float x, float) { return x * x * x; }, 2.0f},
      {11, [](float d) { return d * d * 40.0f; }, [](float x, float) { return fastSine(x) * x; },
       [](float x, float) { return fastSine(x) * x; }, 0.4f},
  };
}

std::vector<float> runDistortion(std::vector<float> signal, int32_t type, float drive,
                                 size_t pieceLength = 37) {
  DistortionState state;
  for (size_t start = 0; start < signal.size(); start += pieceLength) {
    const size_t count = std::min(pieceLength, signal.size() - start);
    distort(signal.data() + start, static_cast<int32_t>(count), state, type, drive, 44100.0f);
  }
  return signal;
}

TEST(Distortion, OversampledTypesFollowTheReferenceModelAcrossRingWraps) {
  const std::vector<float> input = testSignal(1000);  // several wraps of the 8-bit ring positions
  for (const ReferenceRow& row : referenceRows()) {
    for (float drive : {0.0f, 0.3f, 0.7f, 1.0f}) {
      const std::vector<float> expected = referenceDistort(row, input, drive);
      const std::vector<float> actual = runDistortion(input, row.type, drive);
      for (size_t i = 0; i < input.size(); ++i) {
        ASSERT_NEAR(actual[i], expected[i], 1e-4f * (1.0f + std::fabs(expected[i])))
            << "type " << row.type << " drive " << drive << " sample " << i;
      }
    }
  }
}

// The same bits, or both not a number (whose sign and payload depend on the order of operands).
bool sameValue(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

// Both channels distorted at once give each channel the samples and the state of distort on it alone, for
// every type, including NaN, infinite and out-of-range samples and drives.
TEST(Distortion, BothChannelsAtOnceSoundAsEachAlone) {
  const std::vector<float> signal = testSignal(1200);
  const float odd[] = {std::nanf(""), INFINITY, -INFINITY, 3e38f, -1e-40f, 0.0f, -0.0f, 1e9f};
  for (int32_t type = -1; type <= 12; ++type) {
    for (float drive : {0.0f, 0.45f, 1.0f, 3.0f, -1.0f, std::nanf("")}) {
      DistortionState left, right, aloneLeft, aloneRight;
      size_t start = 0;
      for (size_t piece = 0; start < signal.size(); ++piece) {
        const size_t count = std::min<size_t>(piece % 3 == 1 ? 0 : 7 + piece % 41, signal.size() - start);
        std::vector<float> l(signal.begin() + start, signal.begin() + start + count);
        std::vector<float> r(l.rbegin(), l.rend());
        for (float& x : r) x *= 20.0f;
        if (piece == 5 && count > 8) std::copy(std::begin(odd), std::end(odd), l.begin());
        std::vector<float> aloneL = l;
        std::vector<float> aloneR = r;
        const int32_t n = static_cast<int32_t>(count);
        distort(aloneL.data(), n, aloneLeft, type, drive, 44100.0f);
        distort(aloneR.data(), n, aloneRight, type, drive, 44100.0f);
        distortPair(l.data(), r.data(), n, left, right, type, drive, 44100.0f);
        for (size_t i = 0; i < count; ++i) {
          ASSERT_TRUE(sameValue(l[i], aloneL[i])) << type << " " << drive << " " << i;
          ASSERT_TRUE(sameValue(r[i], aloneR[i])) << type << " " << drive << " " << i;
        }
        for (const auto& [state, alone] : {std::pair{&left, &aloneLeft}, std::pair{&right, &aloneRight}}) {
          for (int32_t n = 0; n < 16; ++n) {
            ASSERT_TRUE(sameValue(state->upRing[n], alone->upRing[n])) << type;
            ASSERT_TRUE(sameValue(state->downRing[n], alone->downRing[n])) << type;
          }
          ASSERT_EQ(state->upPos, alone->upPos);
          ASSERT_EQ(state->downPos, alone->downPos);
        }
        start += count;
      }
    }
  }
}

TEST(Distortion, TypesOutsideTheMenuAndBypassLeaveTheBufferAndStateAlone) {
  const std::vector<float> input = testSignal(64);
  for (int32_t type : {0, 12, 99, -1, -128}) {
    DistortionState state;
    std::vector<float> buffer = input;
    distort(buffer.data(), 64, state, type, 0.5f, 44100.0f);
    EXPECT_EQ(buffer, input) << type;
    EXPECT_EQ(state.upPos, 0);
    EXPECT_EQ(state.downPos, 0);
  }
}

TEST(Distortion, VolumeScalesByFourTimesDriveSquared) {
  const std::vector<float> input = testSignal(64);
  EXPECT_EQ(runDistortion(input, distortionVolume, 0.5f), input);
  const std::vector<float> doubled = runDistortion(input, distortionVolume, std::sqrt(0.5f));
  for (size_t i = 0; i < input.size(); ++i) EXPECT_NEAR(doubled[i], 2.0f * input[i], 1e-6f);
}

TEST(Distortion, SquareAndCubicWithoutDriveGoSilentOnceTheRingsHoldZeros) {
  for (int32_t type : {distortionSquare, distortionCubic}) {
    const std::vector<float> output = runDistortion(testSignal(64), type, 0.0f);
    for (float x : output) EXPECT_EQ(x, 0.0f);
  }
}

TEST(Distortion, SilenceStaysSilentForEveryType) {
  for (int32_t type = 1; type <= 11; ++type) {
    const std::vector<float> output = runDistortion(std::vector<float>(200, 0.0f), type, 0.6f);
    for (float x : output) ASSERT_EQ(x, 0.0f) << type;
  }
}

TEST(Distortion, CompressorActsOnlyAboveTheSquaredDrive) {
  std::vector<float> quiet(2000, 0.5f);
  EXPECT_EQ(runDistortion(quiet, distortionCompressor, 1.0f), quiet);

  // A loud steady signal is pulled down to about drive squared once the envelope has settled.
  const std::vector<float> loud = runDistortion(std::vector<float>(44100, 2.0f), distortionCompressor, 0.5f);
  EXPECT_NEAR(loud.back(), 0.25f, 0.01f);
}

TEST(Distortion, CompressorWithoutDriveOrEnvelopeLeavesSamplesUnchanged) {
  std::vector<float> silence(16, 0.0f);
  EXPECT_EQ(runDistortion(silence, distortionCompressor, 0.0f), silence);
}

TEST(Distortion, DriveFarBeyondItsRangeStaysFinite) {
  for (int32_t type = 1; type <= 11; ++type) {
    for (float drive : {-5.0f, 3.0f, 50.0f, 1e30f, std::nanf("")}) {
      const std::vector<float> output = runDistortion(testSignal(300), type, drive);
      for (float x : output) ASSERT_TRUE(std::isfinite(x)) << "type " << type << " drive " << drive;
    }
  }
}

}  // namespace
