// The filter-type menu and every internal type's recipe, row by row: each expectation below is written
// out from the recipe's formula and compared with what the selection leaves in a state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/filters/FilterDesign.h"
#include "plugin/engine/filters/FilterKernels.h"
#include "plugin/engine/filters/FilterSelection.h"
#include "plugin/engine/filters/FilterTypeMap.h"
#include "plugin/engine/tests/FilterTestSupport.h"

namespace {

using FilterTest::makeState;

// Elements compared; each starts as a value of its own so that a misplaced write shows.
constexpr std::int32_t kCompared = 64;

float before(std::int32_t element) {
  return 1000.0f + static_cast<float>(element);
}

void prepare(FilterState& state) {
  for (std::int32_t i = 0; i < kCompared; ++i) state.element[i] = before(i);
}

TEST(FilterTypeMap, EveryMenuEntrySelectsItsTypeKernelAndFamily) {
  const struct {
    const char* text;
    std::int32_t type;
    FilterKernel kernel;
    std::int32_t family;  // -1: left as it was
  } menu[58] = {
      {"Bypass", 255, emptyKernel, -1},
      {"LP 30dB", 0, biquadSerialKernel, 0},
      {"LP Moog24", 42, ladderKernel, 10},
      {"LP Moog6", 44, ladderKernel, 10},
      {"LP SVF", 28, svfKernel, 3},
      {"LP Silk", 13, biquadSerialKernel, 0},
      {"LP Fat", 8, biquadSerialKernel, 0},
      {"LP Fat 7", 9, biquadSerialKernel, 0},
      {"LP oct", 10, biquadSerialKernel, 0},
      {"LP Ellipt", 26, biquadSerialKernel, 0},
      {"LP like", 24, biquadAllpassMixKernel, 2},
      {"HP 30dB", 1, biquadSerialKernel, 0},
      {"HP Moog24", 45, ladderKernel, 10},
      {"HP SVF", 29, svfKernel, 3},
      {"HP Fat", 14, biquadSerialKernel, 0},
      {"HP Ellipt", 27, biquadSerialKernel, 0},
      {"HP like", 25, biquadAllpassMixKernel, 2},
      {"BP 15dB", 2, biquadSerialKernel, 0},
      {"BP Moog", 49, ladderKernel, 10},
      {"BP SVF", 30, svfKernel, 3},
      {"BP Para", 15, biquadParallelKernel, 1},
      {"Notch", 3, biquadSerialKernel, 0},
      {"Notc Moog", 48, ladderKernel, 10},
      {"NoLP Moog", 54, ladderKernel, 10},
      {"Equalizer", 16, biquadSerialKernel, 0},
      {"Lo shelf", 6, biquadSerialKernel, 0},
      {"Hi shelf", 7, biquadSerialKernel, 0},
      {"PEQ+wide", 4, biquadSerialKernel, 0},
      {"PEQ+tight", 5, biquadSerialKernel, 0},
      {"Comb1", 33, combKernel, 5},
      {"Comb2", 34, comb2Kernel, 6},
      {"Phaser", 23, biquadAllpassMixKernel, 2},
      {"Vocals", 17, biquadSerialKernel, 0},
      {"Vocal A", 18, biquadParallelKernel, 0},
      {"Vocal U", 19, biquadParallelKernel, 0},
      {"Vocal E", 20, biquadParallelKernel, 0},
      {"Vocal I", 21, biquadParallelKernel, 0},
      {"Vocal O", 22, biquadParallelKernel, 0},
      {"PEQ+wider", 12, biquadSerialKernel, 0},
      {"M-Shape", 11, biquadSerialKernel, 0},
      {"Resonator", 32, resonatorKernel, 4},
      {"Resample", 41, resampleKernel, 9},
      {"AM", 35, amKernel, 7},
      {"FM Sine", 36, vibratoKernel, 8},
      {"FM Tri", 37, vibratoKernel, 8},
      {"FM Saw", 38, vibratoKernel, 8},
      {"Delay", 55, delayKernel, 11},
      {"Allpass", 31, svfKernel, 3},
      {"Reverb big1", 56, reverbKernel, 12},
      {"Reverb big2", 57, reverbKernel, 12},
      {"Reverb med1", 58, reverbKernel, 12},
      {"Reverb med2", 59, reverbKernel, 12},
      {"Reverb small1", 60, reverbKernel, 12},
      {"Reverb small2", 61, reverbKernel, 12},
      {"Allpass2", 65, biquadSerialKernel, 0},
      {"EQ Block", 66, biquadSerialKernel, 0},
      {"Vocals2", 70, biquadParallelKernel, 0},
      {"Comb5", 64, comb5Kernel, 6},
  };
  auto state = makeState();
  for (std::int32_t entry = 0; entry < 58; ++entry) {
    SCOPED_TRACE(testing::Message() << "entry " << entry << " " << menu[entry].text);
    EXPECT_EQ(FilterTypeMap[entry], menu[entry].type);
    EXPECT_EQ(filterTypeForEntry(entry), menu[entry].type);
    state->element[FilterElement::family] = -7.0f;
    EXPECT_EQ(selectFilterKernel(44100, filterTypeForEntry(entry), 0.5f, 0.5f, state.get()),
              menu[entry].kernel);
    const float family = menu[entry].family < 0 ? -7.0f : static_cast<float>(menu[entry].family);
    EXPECT_EQ(state->element[FilterElement::family], family);
  }
}

// What a recipe leaves in a state, built from its formulas.
struct Expected {
  std::int32_t type;
  std::int32_t rate;
  float c;
  float r;
  float e[kCompared];
  FilterKernel kernel = emptyKernel;

  Expected(std::int32_t type, std::int32_t rate, float c, float r) : type(type), rate(rate), c(c), r(r) {
    for (std::int32_t i = 0; i < kCompared; ++i) e[i] = before(i);
    e[0] = static_cast<float>(type);
    e[1] = static_cast<float>(rate);
    e[2] = c;
    e[3] = r;
  }

  // The unlimited normalised frequency of a cutoff value.
  float F(float x) const { return fastExp(-6.0f * (1.0f - x)) * 0.45f / static_cast<float>(rate) * 44100.0f; }
  static float E(float x) { return fastExp(x); }
  static float S(float x) { return fastSine(x); }

  void finish(FilterKernel k, std::int32_t family, float gain) {
    kernel = k;
    e[8] = static_cast<float>(family);
    e[9] = gain;
  }
  void design(std::int32_t set, std::int32_t mode, float cutoff, float q) {
    designFilterCoefficients(mode, cutoff, q, &e[set], &e[set + 1], &e[set + 2], &e[set + 3], &e[set + 4],
                             rate);
  }
  // Set A and set B of a biquad pair.
  void pair(std::int32_t modeA, float cutoffA, float qA, std::int32_t modeB, float cutoffB, float qB) {
    design(10, modeA, cutoffA, qA);
    design(20, modeB, cutoffB, qB);
  }
  void same(std::int32_t mode, float cutoff, float q) { pair(mode, cutoff, q, mode, cutoff, q); }
  void svf(float f, float q, float gain, float low, float band, float high, FilterKernel k = svfKernel) {
    e[10] = f;
    e[11] = q;
    e[12] = low;
    e[13] = band;
    e[14] = high;
    finish(k, 3, gain);
  }
  void ladder(float limit, std::int32_t family, FilterKernel k) {
    static const float KT[11] = {-0.997f, -0.683f, -0.375f, -0.082f, 0.182f, 0.422f,
                                 0.625f,  0.79f,   0.908f,  0.976f,  1.0f};
    static const float RT[11] = {480, 355, 280, 225, 187, 162, 144, 130, 124, 120, 94};
    const float fLimited = std::min(F(c), limit);
    const float x = 20.0f * fLimited;
    const std::int32_t j = static_cast<std::int32_t>(x);
    const float t = x - static_cast<float>(j);
    const float pole = (1.0f - t) * KT[j] + t * KT[j + 1];
    const float p = (pole + 1.0f) * 0.5f;
    const float bend = 2.0f * r - 1.0f;
    e[10] = p;
    e[11] = pole;
    e[12] = ((1.0f - t) * RT[j] + t * RT[j + 1]) * r * 0.008f;
    if (family == 14) e[13] = fLimited;
    finish(k, family, ((1.0f - bend * bend) * 0.3f + 1.0f) * ((1.0f - p) * r + 1.0f));
  }
  // A delay-line length: the old target becomes the start, the old glide count the glide length.
  void length(float L) {
    e[11] = before(10);
    e[12] = before(14);
    e[14] = 0.0f;
    e[10] = L;
  }
};

struct Recipe {
  std::int32_t first;
  std::int32_t last;
  std::function<void(Expected&)> write;
};

std::vector<Recipe> recipes() {
  using X = Expected;
  constexpr std::int32_t serial = 0;
  return {
      // Biquad pairs.
      {0, 0,
       [](X& x) {
         const float q0 = (0.5f * x.r * x.r + 0.5f * x.r) * 0.8f;
         x.same(1, x.c, q0);
         x.finish(biquadSerialKernel, serial, X::E(-6.5f * (q0 * q0 * q0)));
       }},
      {1, 1,
       [](X& x) {
         x.same(2, x.c, x.r);
         x.finish(biquadSerialKernel, serial, X::E(-1.5f * x.r * x.r));
       }},
      {2, 2,
       [](X& x) {
         x.same(3, x.c, x.r);
         x.finish(biquadSerialKernel, serial, X::E(-4.0f * x.r * x.r) * (x.r + 1.0f) * 4.0f);
       }},
      {3, 3,
       [](X& x) {
         x.same(6, x.c, x.r);
         x.finish(biquadSerialKernel, serial, 1.3f);
       }},
      {4, 4,
       [](X& x) {
         x.same(9, x.c, 0.7f * x.r);
         x.finish(biquadSerialKernel, serial, X::E(-3.0f * (0.7f * x.r) * (0.7f * x.r)));
       }},
      {5, 5,
       [](X& x) {
         x.same(10, x.c, x.r);
         x.finish(biquadSerialKernel, serial, X::E(-3.0f * x.r * x.r));
       }},
      {6, 6,
       [](X& x) {
         x.same(7, x.c, x.r);
         x.finish(biquadSerialKernel, serial, std::pow(2.0f, -2.0f * x.r));
       }},
      {7, 7,
       [](X& x) {
         x.same(8, x.c, x.r);
         x.finish(biquadSerialKernel, serial, std::pow(2.0f, -2.0f * x.r));
       }},
      {8, 8,
       [](X& x) {
         x.pair(1, x.c, std::sqrt(x.r), 1, x.c + (1.2f - x.r) * 0.084f, 0.45f * x.r + 0.55f);
         x.finish(biquadSerialKernel, serial, X::E(-2.5f * x.r * x.r));
       }},
      {9, 9,
       [](X& x) {
         x.pair(1, x.c, x.r, 1, x.c + 0.065f, x.r);
         x.finish(biquadSerialKernel, serial, X::E(-1.5f * x.r * x.r));
       }},
      {10, 10,
       [](X& x) {
         x.pair(1, x.c, 0.9f * x.r, 1, x.c + 0.114f, 0.4f * x.r + 0.6f);
         x.finish(biquadSerialKernel, serial, X::E(-1.3f * x.r * x.r));
       }},
      {11, 11,
       [](X& x) {
         x.pair(2, x.c - 0.5f * x.r, 0.7f, 1, x.c + 0.5f * x.r, 0.5f);
         x.finish(biquadSerialKernel, serial, 0.7f);
       }},
      {12, 12,
       [](X& x) {
         x.same(12, x.c, x.r);
         const float g = X::E(-5.0f * x.r * x.r);
         x.finish(biquadSerialKernel, serial, g * g * (x.r + 1.0f) * (x.r + 1.0f));
       }},
      {13, 13,
       [](X& x) {
         x.pair(1, x.c, x.r, 8, 0.9f, 0.9f);
         x.finish(biquadSerialKernel, serial, 1.0f - 0.8f * x.r);
       }},
      {14, 14,
       [](X& x) {
         x.pair(2, x.c + (1.2f - x.r) * 0.084f, x.r, 2, x.c, 0.7f * x.r + 0.3f);
         x.finish(biquadSerialKernel, serial, X::E(-1.3f * x.r * x.r));
       }},
      {15, 15,
       [](X& x) {
         x.pair(3, x.c - 0.5f * x.r, 0.8f, 3, x.c + 0.5f * x.r, 0.8f);
         x.finish(biquadParallelKernel, 1, 1.0f);
       }},
      {16, 16,
       [](X& x) {
         x.pair(7, 0.3f, x.c, 8, 0.8f, x.r);
         x.finish(biquadSerialKernel, serial, std::pow(2.0f, -x.r - x.c));
       }},
      {17, 17,
       [](X& x) {
         x.pair(10, 0.66f - 0.17f * x.c + 0.14f * x.r - 0.02f, 0.7f, 10,
                0.3f - 0.62f * x.c * x.c + 0.62f * x.c + 0.14f * x.r - 0.02f, 0.7f);
         x.finish(biquadSerialKernel, serial, 0.6f);
       }},
      {18, 22,
       [](X& x) {
         const float formants[5][2] = {
             {0.46f, 0.52f}, {0.26f, 0.42f}, {0.32f, 0.65f}, {0.23f, 0.70f}, {0.35f, 0.45f}};
         const float a = formants[x.type - 18][0];
         const float b = formants[x.type - 18][1];
         x.pair(1, 0.16f * x.c + a - 0.08f, 0.7f, 3, 0.16f * x.c + b - 0.08f + 0.1f * x.r - 0.05f, 0.9f);
         x.finish(biquadParallelKernel, serial, 0.6f);
       }},
      {23, 23,
       [](X& x) {
         x.same(11, x.c, x.r * x.r);
         x.finish(biquadAllpassMixKernel, 2, 1.0f);
       }},
      {24, 24,
       [](X& x) {
         x.pair(2, x.c, x.r, 1, x.c, x.r);
         x.finish(biquadAllpassMixKernel, 2, X::E(-5.0f * x.r * x.r) * (x.r + 1.0f) * (x.r + 1.0f) * 0.8f);
       }},
      {25, 25,
       [](X& x) {
         x.pair(1, x.c, x.r, 2, x.c, x.r);
         x.finish(biquadAllpassMixKernel, 2, X::E(-5.0f * x.r * x.r) * (x.r + 1.0f) * (x.r + 1.0f) * 0.8f);
       }},
      {26, 26,
       [](X& x) {
         x.pair(1, x.c, 0.2f * x.r + 0.15f, 1, (x.r + 1.0f) * 0.114f + x.c, 0.3f * x.r + 0.6f);
         x.finish(biquadSerialKernel, serial, 1.0f - 0.25f * x.r);
       }},
      {27, 27,
       [](X& x) {
         x.pair(2, (x.r + 1.0f) * 0.114f + x.c, 0.3f * x.r, 2, x.c, 0.7f * x.r + 0.2f);
         x.finish(biquadSerialKernel, serial, 1.0f);
       }},
      {65, 65,
       [](X& x) {
         x.same(11, x.c, x.r * X::E(-(1.0f - x.c)));
         x.finish(biquadSerialKernel, serial, 1.0f);
       }},
      {66, 66,
       [](X& x) {
         x.pair(2, x.c - 0.5f * x.r, 0.2f, 1, x.c + 0.5f * x.r, 0.2f);
         x.finish(biquadSerialKernel, serial, 1.0f);
       }},
      {70, 70,
       [](X& x) {
         x.pair(3, 0.66f - 0.17f * x.c + 0.14f * x.r - 0.02f, 0.9f, 1,
                0.3f - 0.62f * x.c * x.c + 0.62f * x.c + 0.14f * x.r - 0.02f, 0.7f);
         x.finish(biquadParallelKernel, serial, 0.6f);
       }},

      // State-variable filters.
      {28, 28,
       [](X& x) {
         const float d = 0.95f * x.r;
         x.svf(2.0f * X::S(x.F(x.c + 0.1f * x.r) * 0.405f * 3.14159f), 1.0f - 0.95f * x.r,
               1.0f - 0.6f * (d * d * d), 1, 0, 0);
       }},
      {29, 29,
       [](X& x) {
         const float d = 0.95f * x.r;
         x.svf(2.0f * X::S(x.F(x.c + 0.15f * x.r) * 0.3f * 3.14159f), 1.0f - 0.95f * x.r,
               1.0f - 0.6f * (d * d * d), 0, 0, 1);
       }},
      {30, 30,
       [](X& x) {
         const float e = X::E(-0.5f * (1.0f - x.c)) * x.r * 0.9f;
         const float f = 2.0f * X::S(std::min(x.F(x.c), 0.28f * e * e + 0.17f) * 3.14159f);
         x.svf(f, 1.0f - e, (1.0f - 0.5f * f) * (1.0f - 0.25f * e), 0, 1, 0);
       }},
      {31, 31,
       [](X& x) {
         x.svf(2.0f * X::S(std::min(x.F(x.c), 0.28f * x.r * x.r + 0.17f) * 3.14159f), 1.0f - x.r, 1.0f, 1, -1,
               1);
       }},
      {80, 83,
       [](X& x) {
         const float T80[7] = {0.6f, 0.3f, 0.36f, 0.59f, 0.72f, 1.0f, 1.0f};
         const float e = std::min(X::E(-0.5f * (1.0f - x.c)) * x.r * x.r, 0.9f);
         const float limited = std::min(x.F(x.c), 0.1f * e * e + 0.17f);
         const float f = 2.0f * X::S(limited * 3.14159f);
         const float at = 20.0f * limited;
         const std::int32_t j = static_cast<std::int32_t>(at);
         const float t = at - static_cast<float>(j);
         switch (x.type) {
           case 80:
             x.svf(f, 1.0f - e * ((1.0f - t) * T80[j] + t * T80[j + 1]), 1.0f - 0.5f * e, 1, 0, 0,
                   saturatedSvfKernel);
             break;
           case 81:
             x.svf(f, 1.0f - e, 2.0f - e, 0, 0, 1, saturatedSvfKernel);
             break;
           case 82:
             x.svf(f, 1.0f - e, 2.0f - e, 0, 1, 0, saturatedSvfKernel);
             break;
           default:
             x.svf(f, 1.0f - e, 2.0f, 1, 0, 1, saturatedSvfKernel);
             break;
         }
       }},

      // Ladders and their output mixes.
      {42, 54,
       [](X& x) {
         const float mixes[13][5] = {
             {0, 0, 0, 0, 1},
             {0, 0, 1.375f, 0, 0},
             {0, 1.25f, 0, 0, 0},
             {1, -1, 0, 0, 0},
             {1, 0, 0, -1, 0},
             {1, 0, 0, 0, -1},
             {0.75f, 0.75f, 0, 0, 0},
             {0, 0, -2, 0, 2},
             {0, -1, -1, 1, 1},
             {1, 0, 0, 0, 0},
             {1, -1, 0, -1, 0},
             {0.5f, 0, -1, 0.5f, 1},
             {0.625f, 0.625f, 0, 0, -1.875f},
         };
         x.ladder(0.499f, 10, ladderKernel);
         std::copy(mixes[x.type - 42], mixes[x.type - 42] + 5, x.e + 13);
       }},
      {63, 63, [](X& x) { x.ladder(0.25f, 14, noisyLadderKernel); }},

      // Delay-line filters.
      {32, 32,
       [](X& x) {
         const float rate = static_cast<float>(x.rate);
         const float L = std::min(0.5f / x.F(x.c), 32767.0f);
         const float open = 1.0f - x.r;
         const float feedback = std::max(0.0f, 1.0f - L * 0.1f / rate * 44100.0f * (open * open * open));
         x.length(L);
         x.e[15] = feedback;
         x.finish(resonatorKernel, 4, (1.0f - 0.9f * feedback) * 0.8f);
       }},
      {33, 34,
       [](X& x) {
         const bool first = x.type == 33;
         const float open = 1.0f - x.c;
         const float damped = 1.0f - x.r;
         x.length(std::min((open * open + 0.002f) * static_cast<float>(x.rate) / (first ? 150.0f : 200.0f),
                           32767.0f));
         x.e[15] = (1.0f - damped * damped) * 0.99f;
         x.finish(first ? combKernel : comb2Kernel, first ? 5 : 6,
                  X::E(-2.0f * x.r * x.r) * (first ? 1.5f : 0.7f));
       }},
      {64, 64,
       [](X& x) {
         const float open = 1.0f - x.c;
         const float damped = 1.0f - x.r;
         x.length(std::min((open * open + 0.002f) * static_cast<float>(x.rate) / 100.0f, 32767.0f));
         x.e[15] = (1.0f - damped * damped) * 0.99f;
         x.finish(comb5Kernel, 6, X::E(-2.0f * x.r * x.r) * 0.5f);
       }},
      {55, 55,
       [](X& x) {
         x.length(std::min(static_cast<float>(x.rate) * x.c * 0.25f, 32767.0f));
         x.finish(delayKernel, 11, 1.0f);
       }},

      // Reverbs.
      {56, 61,
       [](X& x) {
         const struct {
           std::int32_t taps;
           float feedback;
           float scale;
           std::vector<std::int64_t> words;
         } rooms[6] = {
             {30, 2.0f * x.r / 30.0f, 0.06666667f, {30533, 14966, 32253, 52528, 52513, 30133, 18693, 28450,
                                                    24943, 30376, 31899, 57666, 30042, 41226, 46658, 16434,
                                                    45916, 26802, 12037, 35313, 26524, 46471, 25536, 41540,
                                                    21236, 17855, 23976, 32662, 46542, 33769}},
             {30, 2.0f * x.r / 30.0f, 0.06666667f, {7257,  29810, 54486, 56362, 24094, 48086, 32510, 12103,
                                                    27159, 7198,  58003, 14824, 47549, 15556, 37070, 32003,
                                                    27161, 43716, 35520, 31794, 55081, 15579, 27157, 35389,
                                                    37784, 34930, 47347, 34342, 26462, 23033}},
             {16,
              1.4f * x.r / 16.0f,
              0.1f,
              {39993, 40953, 31772, 33589, 33853, 35200, 40274, 25607, 31336, 30890, 49003, 59559, 31282,
               44724, 11722, 18164}},
             {16,
              1.4f * x.r / 16.0f,
              0.1f,
              {58505, 21304, 37894, 46082, 42279, 32242, 34626, 24771, 47919, 41220, 11523, 25580, 27521,
               35728, 49798, 28416}},
             {8, x.r / 8.0f, 0.13333334f, {51771, 33338, 10705, 42521, 21343, 63976, 52905, 23654}},
             {8, x.r / 8.0f, 0.13333334f, {48517, 11738, 27379, 55313, 55952, 19550, 35201, 40912}},
         };
         const auto& room = rooms[x.type - 56];
         const float rate = static_cast<float>(x.rate);
         const float L = std::min((x.c + 0.02f) * rate * 0.25f, 32767.0f);
         x.e[10] = L;
         x.e[11] = room.feedback;
         x.e[12] = static_cast<float>(room.taps);
         x.e[13] = room.scale;
         x.e[14] = 38400.0f / rate;
         ASSERT_EQ(room.words.size(), static_cast<std::size_t>(room.taps));
         for (std::int32_t k = 0; k < room.taps; ++k)
           x.e[30 + k] = static_cast<float>(
               static_cast<std::int32_t>(static_cast<std::int64_t>(L) * room.words[k] / 32767));
         x.finish(reverbKernel, 12, 2.0f);
       }},

      // Modulation types: they write no gain.
      {35, 35,
       [](X& x) {
         x.e[10] = std::exp((1.0f - x.c) * -6.0f) * 0.45f / static_cast<float>(x.rate) * 44100.0f * 0.5f;
         x.e[11] = x.r;
         x.e[8] = 7;
         x.kernel = amKernel;
       }},
      {36, 40,
       [](X& x) {
         const float GT[5] = {0.9f, 0.3f, 0.07f, 0.045f, 0.02f};
         const float increment = x.F(x.c) * 0.25f;
         const float at = 3.999f * x.r;
         const std::int32_t j = static_cast<std::int32_t>(at);
         const float t = at - static_cast<float>(j);
         x.e[10] = increment;
         x.e[11] = std::min(x.r * x.r / increment * 10.0f, 32752.0f);
         x.e[12] = (1.0f - t) * GT[j] + t * GT[j + 1];
         x.e[13] = static_cast<float>(x.type - 36);
         x.e[8] = 8;
         x.kernel = vibratoKernel;
       }},
      {41, 41,
       [](X& x) {
         const float rate = static_cast<float>(x.rate);
         const float period = static_cast<float>(static_cast<std::int32_t>(
             rate / std::min(X::E(-6.0f * (1.0f - x.c)) * 0.45f * rate * 3.0f, rate)));
         x.e[10] = period;
         x.e[11] = 1.0f / period;
         x.e[8] = 9;
         x.kernel = resampleKernel;
       }},
  };
}

bool closeTo(float actual, float expected) {
  return std::fabs(actual - expected) <= 2e-6f * std::max(1.0f, std::fabs(expected));
}

// Every internal type 0..83 at cutoffs and resonances across their range, at four sample rates. Below
// 44.1 kHz the state-variable frequencies and the reverb damping are held stable, so those types are
// compared from 44.1 kHz up; "Allpass" keeps some damping at full resonance, so it is compared below it.
TEST(FilterRecipes, EveryTypeWritesWhatItsRecipeSays) {
  const std::vector<Recipe> table = recipes();
  auto state = makeState();
  for (std::int32_t type = 0; type <= 83; ++type) {
    const Recipe* recipe = nullptr;
    for (const Recipe& candidate : table)
      if (type >= candidate.first && type <= candidate.last) recipe = &candidate;
    const bool heldBelow44k =
        (type >= 28 && type <= 31) || (type >= 80 && type <= 83) || (type >= 56 && type <= 61);
    for (std::int32_t rate : {22050, 44100, 48000, 192000}) {
      if (heldBelow44k && rate < 44100) continue;
      for (std::int32_t ci = 0; ci <= 34; ++ci) {
        const float c = std::min(0.03f * static_cast<float>(ci), 1.0f);
        for (float r : {0.0f, 0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 1.0f}) {
          if (type == 31 && r > 0.9f) continue;
          SCOPED_TRACE(testing::Message() << "type " << type << " rate " << rate << " c " << c << " r " << r);
          Expected expected(type, rate, c, r);
          if (recipe) recipe->write(expected);
          prepare(*state);
          ASSERT_EQ(selectFilterKernel(rate, type, c, r, state.get()), expected.kernel);
          for (std::int32_t i = 0; i < kCompared; ++i) {
            ASSERT_PRED2(closeTo, state->element[i], expected.e[i]) << "element " << i;
          }
        }
      }
    }
  }
}

}  // namespace
