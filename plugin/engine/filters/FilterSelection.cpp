#include "plugin/engine/filters/FilterSelection.h"

#include <algorithm>
#include <cmath>

#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/FloatToInt.h"
#include "plugin/engine/dsp/ValueLimits.h"
#include "plugin/engine/filters/FilterDesign.h"
#include "plugin/engine/filters/FilterKernels.h"

namespace {

constexpr std::int32_t kLastType = 83;
constexpr float kPi = 3.14159f;
constexpr float kMaxDelayLength = 32767.0f;

// Linear interpolation in a table at x >= 0, with the index kept inside the table.
template <std::size_t size>
float interpolate(const float (&table)[size], float x) {
  const std::int32_t whole = std::clamp(truncateToInt32(x), 0, static_cast<std::int32_t>(size) - 2);
  const float t = x - static_cast<float>(whole);
  return (1.0f - t) * table[whole] + t * table[whole + 1];
}

// What every recipe works on: the state, the sample rate and the limited cutoff c and resonance r.
struct Recipe {
  float* e;
  std::int32_t sampleRate;
  float c;
  float r;

  float frequency(float cutoff) const { return normalisedFrequency(cutoff, sampleRate); }

  void design(std::int32_t set, std::int32_t mode, float cutoff, float q) const {
    designFilterCoefficients(mode, cutoff, q, e + set, e + set + 1, e + set + 2, e + set + 3, e + set + 4,
                             sampleRate);
  }

  FilterKernel finish(std::int32_t family, float gain, FilterKernel kernel) const {
    e[FilterElement::family] = static_cast<float>(family);
    e[FilterElement::gain] = gain;
    return kernel;
  }
};

FilterKernel selectBiquadPair(const Recipe& s, std::int32_t type) {
  using namespace FilterFamily;
  constexpr std::int32_t A = BiquadElement::setA;
  constexpr std::int32_t B = BiquadElement::setB;
  const float c = s.c;
  const float r = s.r;
  const float r2 = r * r;
  const auto same = [&s](std::int32_t mode, float cutoff, float q) {
    s.design(A, mode, cutoff, q);
    std::copy_n(s.e + A, 5, s.e + B);
  };
  const auto pair = [&s](std::int32_t modeA, float cutoffA, float qA, std::int32_t modeB, float cutoffB,
                         float qB) {
    s.design(A, modeA, cutoffA, qA);
    s.design(B, modeB, cutoffB, qB);
  };
  const auto squared = [](float v) { return v * v; };
  switch (type) {
    case 0: {
      const float q0 = (0.5f * r2 + 0.5f * r) * 0.8f;
      same(1, c, q0);
      return s.finish(biquadSerial, fastExp(-6.5f * (q0 * q0 * q0)), biquadSerialKernel);
    }
    case 1:
      same(2, c, r);
      return s.finish(biquadSerial, fastExp(-1.5f * r2), biquadSerialKernel);
    case 2:
      same(3, c, r);
      return s.finish(biquadSerial, fastExp(-4.0f * r2) * (r + 1.0f) * 4.0f, biquadSerialKernel);
    case 3:
      same(6, c, r);
      return s.finish(biquadSerial, 1.3f, biquadSerialKernel);
    case 4: {
      const float q = 0.7f * r;
      same(9, c, q);
      return s.finish(biquadSerial, fastExp(-3.0f * (q * q)), biquadSerialKernel);
    }
    case 5:
      same(10, c, r);
      return s.finish(biquadSerial, fastExp(-3.0f * r2), biquadSerialKernel);
    case 6:
      same(7, c, r);
      return s.finish(biquadSerial, std::pow(2.0f, -2.0f * r), biquadSerialKernel);
    case 7:
      same(8, c, r);
      return s.finish(biquadSerial, std::pow(2.0f, -2.0f * r), biquadSerialKernel);
    case 8:
      pair(1, c, std::sqrt(r), 1, c + (1.2f - r) * 0.084f, 0.45f * r + 0.55f);
      return s.finish(biquadSerial, fastExp(-2.5f * r2), biquadSerialKernel);
    case 9:
      pair(1, c, r, 1, c + 0.065f, r);
      return s.finish(biquadSerial, fastExp(-1.5f * r2), biquadSerialKernel);
    case 10:
      pair(1, c, 0.9f * r, 1, c + 0.114f, 0.4f * r + 0.6f);
      return s.finish(biquadSerial, fastExp(-1.3f * r2), biquadSerialKernel);
    case 11:
      pair(2, c - 0.5f * r, 0.7f, 1, c + 0.5f * r, 0.5f);
      return s.finish(biquadSerial, 0.7f, biquadSerialKernel);
    case 12:
      same(12, c, r);
      return s.finish(biquadSerial, squared(fastExp(-5.0f * r2)) * squared(r + 1.0f), biquadSerialKernel);
    case 13:
      pair(1, c, r, 8, 0.9f, 0.9f);
      return s.finish(biquadSerial, 1.0f - 0.8f * r, biquadSerialKernel);
    case 14:
      pair(2, c + (1.2f - r) * 0.084f, r, 2, c, 0.7f * r + 0.3f);
      return s.finish(biquadSerial, fastExp(-1.3f * r2), biquadSerialKernel);
    case 15:
      pair(3, c - 0.5f * r, 0.8f, 3, c + 0.5f * r, 0.8f);
      return s.finish(biquadParallel, 1.0f, biquadParallelKernel);
    case 16:
      pair(7, 0.3f, c, 8, 0.8f, r);
      return s.finish(biquadSerial, std::pow(2.0f, -r - c), biquadSerialKernel);
    case 17:
      pair(10, 0.66f - 0.17f * c + 0.14f * r - 0.02f, 0.7f, 10,
           0.3f - 0.62f * (c * c) + 0.62f * c + 0.14f * r - 0.02f, 0.7f);
      return s.finish(biquadSerial, 0.6f, biquadSerialKernel);
    case 18:
    case 19:
    case 20:
    case 21:
    case 22: {
      // Vowel formant pairs (a, b).
      constexpr float formants[5][2] = {
          {0.46f, 0.52f}, {0.26f, 0.42f}, {0.32f, 0.65f}, {0.23f, 0.70f}, {0.35f, 0.45f}};
      const float a = formants[type - 18][0];
      const float b = formants[type - 18][1];
      pair(1, 0.16f * c + a - 0.08f, 0.7f, 3, 0.16f * c + b - 0.08f + 0.1f * r - 0.05f, 0.9f);
      return s.finish(biquadSerial, 0.6f, biquadParallelKernel);
    }
    case 23:
      same(11, c, r2);
      return s.finish(biquadAllpassMix, 1.0f, biquadAllpassMixKernel);
    case 24:
      pair(2, c, r, 1, c, r);
      return s.finish(biquadAllpassMix, fastExp(-5.0f * r2) * squared(r + 1.0f) * 0.8f,
                      biquadAllpassMixKernel);
    case 25:
      pair(1, c, r, 2, c, r);
      return s.finish(biquadAllpassMix, fastExp(-5.0f * r2) * squared(r + 1.0f) * 0.8f,
                      biquadAllpassMixKernel);
    case 26:
      pair(1, c, 0.2f * r + 0.15f, 1, (r + 1.0f) * 0.114f + c, 0.3f * r + 0.6f);
      return s.finish(biquadSerial, 1.0f - 0.25f * r, biquadSerialKernel);
    case 27:
      pair(2, (r + 1.0f) * 0.114f + c, 0.3f * r, 2, c, 0.7f * r + 0.2f);
      return s.finish(biquadSerial, 1.0f, biquadSerialKernel);
    case 65:
      same(11, c, r * fastExp(-(1.0f - c)));
      return s.finish(biquadSerial, 1.0f, biquadSerialKernel);
    case 66:
      pair(2, c - 0.5f * r, 0.2f, 1, c + 0.5f * r, 0.2f);
      return s.finish(biquadSerial, 1.0f, biquadSerialKernel);
    case 70:
      pair(3, 0.66f - 0.17f * c + 0.14f * r - 0.02f, 0.9f, 1,
           0.3f - 0.62f * (c * c) + 0.62f * c + 0.14f * r - 0.02f, 0.7f);
      return s.finish(biquadSerial, 0.6f, biquadParallelKernel);
    default:
      return nullptr;
  }
}

// The state-variable recursion is stable while f^2 + 2 f q < 4; at low sample rates the low- and high-pass
// frequencies would pass that, so the frequency is held to f^2 + 2 f q <= 3.99.
float limitSvfFrequency(float f, float q) {
  constexpr float limit = 3.99f;
  return f * f + 2.0f * f * q > limit ? std::sqrt(q * q + limit) - q : f;
}

// 4 - f^2 - 2 f q is how far the recursion stays from ringing at half the sample rate, where the low-pass
// gains about f^2 over it. The low- and high-pass reach beyond their stable range below 44.1 kHz; rather than
// ring at the edge of it, they hold their frequency where that gain stays at most 4.5, a little above the
// most they have at 44.1 kHz (4.2), so from 44.1 kHz up nothing changes.
float limitSvfPassFrequency(float f, float q) {
  constexpr float nyquistGain = 4.5f;
  constexpr float a = 1.0f + 1.0f / nyquistGain;  // a f^2 + 2 f q <= 4
  return a * f * f + 2.0f * f * q > 4.0f ? (std::sqrt(q * q + 4.0f * a) - q) / a : f;
}

FilterKernel stateVariable(const Recipe& s, float f, float q, float gain, float mixLow, float mixBand,
                           float mixHigh, FilterKernel kernel) {
  s.e[SvfElement::frequency] = f;
  s.e[SvfElement::damping] = q;
  s.e[SvfElement::mixLow] = mixLow;
  s.e[SvfElement::mixBand] = mixBand;
  s.e[SvfElement::mixHigh] = mixHigh;
  return s.finish(FilterFamily::stateVariable, gain, kernel);
}

FilterKernel selectStateVariable(const Recipe& s, std::int32_t type) {
  const float c = s.c;
  const float r = s.r;
  switch (type) {
    case 28:
    case 29: {
      const bool lowPass = type == 28;
      const float scale = lowPass ? 0.405f : 0.3f;
      const float shift = lowPass ? 0.1f : 0.15f;
      const float q = 1.0f - 0.95f * r;
      const float f = limitSvfPassFrequency(2.0f * fastSine(s.frequency(c + shift * r) * scale * kPi), q);
      const float damped = 0.95f * r;
      const float gain = 1.0f - 0.6f * (damped * damped * damped);
      return stateVariable(s, f, q, gain, lowPass ? 1.0f : 0.0f, 0.0f, lowPass ? 0.0f : 1.0f, svfKernel);
    }
    case 30: {
      const float e = fastExp(-0.5f * (1.0f - c)) * r * 0.9f;
      const float q = 1.0f - e;
      const float f =
          limitSvfFrequency(2.0f * fastSine(std::min(s.frequency(c), 0.28f * (e * e) + 0.17f) * kPi), q);
      return stateVariable(s, f, q, (1.0f - 0.5f * f) * (1.0f - 0.25f * e), 0.0f, 1.0f, 0.0f, svfKernel);
    }
    case 31: {
      // Without damping (full resonance) the recursion would be lossless and ring up without limit; a
      // thousandth keeps it bounded at every rate without taking anything audible from the top resonances.
      const float q = std::max(1.0f - r, 0.001f);
      const float f =
          limitSvfFrequency(2.0f * fastSine(std::min(s.frequency(c), 0.28f * (r * r) + 0.17f) * kPi), q);
      return stateVariable(s, f, q, 1.0f, 1.0f, -1.0f, 1.0f, svfKernel);
    }
    default: {  // 80..83
      constexpr float dampingCurve[7] = {0.6f, 0.3f, 0.36f, 0.59f, 0.72f, 1.0f, 1.0f};
      const float e = std::min(fastExp(-0.5f * (1.0f - c)) * (r * r), 0.9f);
      const float limited = std::min(s.frequency(c), 0.1f * (e * e) + 0.17f);
      const float q = type == 80 ? 1.0f - e * interpolate(dampingCurve, 20.0f * limited) : 1.0f - e;
      const float f = limitSvfFrequency(2.0f * fastSine(limited * kPi), q);
      switch (type) {
        case 80:
          return stateVariable(s, f, q, 1.0f - 0.5f * e, 1.0f, 0.0f, 0.0f, saturatedSvfKernel);
        case 81:
          return stateVariable(s, f, q, 2.0f - e, 0.0f, 0.0f, 1.0f, saturatedSvfKernel);
        case 82:
          return stateVariable(s, f, q, 2.0f - e, 0.0f, 1.0f, 0.0f, saturatedSvfKernel);
        default:
          return stateVariable(s, f, q, 2.0f, 1.0f, 0.0f, 1.0f, saturatedSvfKernel);
      }
    }
  }
}

FilterKernel selectLadder(const Recipe& s, std::int32_t type) {
  constexpr float poleCurve[11] = {-0.997f, -0.683f, -0.375f, -0.082f, 0.182f, 0.422f,
                                   0.625f,  0.79f,   0.908f,  0.976f,  1.0f};
  constexpr float feedbackCurve[11] = {480.0f, 355.0f, 280.0f, 225.0f, 187.0f, 162.0f,
                                       144.0f, 130.0f, 124.0f, 120.0f, 94.0f};
  // Output mixes c0..c4 of types 42..54.
  constexpr float mixes[13][5] = {
      {0.0f, 0.0f, 0.0f, 0.0f, 1.0f},        {0.0f, 0.0f, 1.375f, 0.0f, 0.0f},
      {0.0f, 1.25f, 0.0f, 0.0f, 0.0f},       {1.0f, -1.0f, 0.0f, 0.0f, 0.0f},
      {1.0f, 0.0f, 0.0f, -1.0f, 0.0f},       {1.0f, 0.0f, 0.0f, 0.0f, -1.0f},
      {0.75f, 0.75f, 0.0f, 0.0f, 0.0f},      {0.0f, 0.0f, -2.0f, 0.0f, 2.0f},
      {0.0f, -1.0f, -1.0f, 1.0f, 1.0f},      {1.0f, 0.0f, 0.0f, 0.0f, 0.0f},
      {1.0f, -1.0f, 0.0f, -1.0f, 0.0f},      {0.5f, 0.0f, -1.0f, 0.5f, 1.0f},
      {0.625f, 0.625f, 0.0f, 0.0f, -1.875f},
  };
  const bool noisy = type == 63;
  const float r = s.r;
  const float limited = std::min(s.frequency(s.c), noisy ? 0.25f : 0.499f);
  const float x = 20.0f * limited;
  const float k = interpolate(poleCurve, x);
  const float p = (k + 1.0f) * 0.5f;
  const float feedback = interpolate(feedbackCurve, x) * r * 0.008f;
  const float bend = 2.0f * r - 1.0f;
  const float gain = ((1.0f - bend * bend) * 0.3f + 1.0f) * ((1.0f - p) * r + 1.0f);
  s.e[LadderElement::p] = p;
  s.e[LadderElement::k] = k;
  s.e[LadderElement::feedback] = feedback;
  if (noisy) {
    s.e[LadderElement::noiseAmplitude] = limited;
    return s.finish(FilterFamily::noisyLadder, gain, noisyLadderKernel);
  }
  std::copy_n(mixes[type - 42], 5, s.e + LadderElement::mix);
  return s.finish(FilterFamily::ladder, gain, ladderKernel);
}

// A new length glides in from the previous target across the samples counted since the previous selection.
void setDelayLength(const Recipe& s, float length) {
  float* const e = s.e;
  e[DelayLineElement::startLength] = e[DelayLineElement::targetLength];
  e[DelayLineElement::glideLength] = e[DelayLineElement::glideCount];
  e[DelayLineElement::glideCount] = 0.0f;
  e[DelayLineElement::targetLength] = length;
}

FilterKernel selectDelayLine(const Recipe& s, std::int32_t type) {
  const float rate = static_cast<float>(s.sampleRate);
  const float c = s.c;
  const float r = s.r;
  if (type == 55) {
    setDelayLength(s, std::min(rate * c * 0.25f, kMaxDelayLength));
    return s.finish(FilterFamily::delay, 1.0f, delayKernel);
  }
  if (type == 32) {
    const float length = std::min(0.5f / s.frequency(c), kMaxDelayLength);
    const float open = 1.0f - r;
    const float feedback = std::max(0.0f, 1.0f - length * 0.1f / rate * 44100.0f * (open * open * open));
    setDelayLength(s, length);
    s.e[DelayLineElement::feedback] = feedback;
    return s.finish(FilterFamily::resonator, (1.0f - 0.9f * feedback) * 0.8f, resonatorKernel);
  }
  // Combs 33, 34 and 64.
  const float divisor = type == 33 ? 150.0f : (type == 34 ? 200.0f : 100.0f);
  const float gainScale = type == 33 ? 1.5f : (type == 34 ? 0.7f : 0.5f);
  const float open = 1.0f - c;
  const float damped = 1.0f - r;
  setDelayLength(s, std::min((open * open + 0.002f) * rate / divisor, kMaxDelayLength));
  s.e[DelayLineElement::feedback] = (1.0f - damped * damped) * 0.99f;
  const float gain = fastExp(-2.0f * (r * r)) * gainScale;
  if (type == 33) return s.finish(FilterFamily::comb, gain, combKernel);
  return s.finish(FilterFamily::multiTapComb, gain, type == 34 ? comb2Kernel : comb5Kernel);
}

FilterKernel selectReverb(const Recipe& s, std::int32_t type) {
  struct Room {
    std::int32_t taps;
    float feedbackScale;  // tap feedback = feedbackScale * r
    float outputScale;
    std::uint16_t words[ReverbElement::maxTaps];
  };
  static constexpr Room rooms[6] = {
      {30, 2.0f / 30.0f, 0.06666667f, {30533, 14966, 32253, 52528, 52513, 30133, 18693, 28450, 24943, 30376,
                                       31899, 57666, 30042, 41226, 46658, 16434, 45916, 26802, 12037, 35313,
                                       26524, 46471, 25536, 41540, 21236, 17855, 23976, 32662, 46542, 33769}},
      {30, 2.0f / 30.0f, 0.06666667f, {7257,  29810, 54486, 56362, 24094, 48086, 32510, 12103, 27159, 7198,
                                       58003, 14824, 47549, 15556, 37070, 32003, 27161, 43716, 35520, 31794,
                                       55081, 15579, 27157, 35389, 37784, 34930, 47347, 34342, 26462, 23033}},
      {16,
       1.4f / 16.0f,
       0.1f,
       {39993, 40953, 31772, 33589, 33853, 35200, 40274, 25607, 31336, 30890, 49003, 59559, 31282, 44724,
        11722, 18164}},
      {16,
       1.4f / 16.0f,
       0.1f,
       {58505, 21304, 37894, 46082, 42279, 32242, 34626, 24771, 47919, 41220, 11523, 25580, 27521, 35728,
        49798, 28416}},
      {8, 1.0f / 8.0f, 0.13333334f, {51771, 33338, 10705, 42521, 21343, 63976, 52905, 23654}},
      {8, 1.0f / 8.0f, 0.13333334f, {48517, 11738, 27379, 55313, 55952, 19550, 35201, 40912}},
  };
  const Room& room = rooms[type - 56];
  const float rate = static_cast<float>(s.sampleRate);
  const float length = std::min((s.c + 0.02f) * rate * 0.25f, kMaxDelayLength);
  const std::int64_t whole = std::max<std::int32_t>(truncateToInt32(length), 0);
  float* const e = s.e;
  e[ReverbElement::length] = length;
  e[ReverbElement::tapCount] = static_cast<float>(room.taps);
  for (std::int32_t k = 0; k < room.taps; ++k) {
    e[ReverbElement::taps + k] = static_cast<float>(whole * room.words[k] / 32767);
  }
  e[ReverbElement::tapFeedback] = room.feedbackScale * s.r;
  e[ReverbElement::outputScale] = room.outputScale;
  // The damping coefficient falls with the sample rate. Below 38.4 kHz it would pass 1, overshoot and let
  // the feedback grow, so it stays at 1 there.
  e[ReverbElement::damping] = 38400.0f / std::max(rate, 38400.0f);
  return s.finish(FilterFamily::reverb, 2.0f, reverbKernel);
}

FilterKernel selectAmplitudeModulation(const Recipe& s) {
  const float rate = static_cast<float>(s.sampleRate);
  s.e[AmElement::increment] = std::exp((1.0f - s.c) * -6.0f) * 0.45f / rate * 44100.0f * 0.5f;
  s.e[AmElement::depth] = s.r;
  s.e[FilterElement::family] = static_cast<float>(FilterFamily::amplitudeModulation);
  return amKernel;
}

FilterKernel selectVibrato(const Recipe& s, std::int32_t type) {
  constexpr float inputCurve[5] = {0.9f, 0.3f, 0.07f, 0.045f, 0.02f};
  const float increment = s.frequency(s.c) * 0.25f;
  s.e[VibratoElement::increment] = increment;
  s.e[VibratoElement::depthTarget] = std::min((s.r * s.r) / increment * 10.0f, 32752.0f);
  s.e[VibratoElement::inputCoefficient] = interpolate(inputCurve, 3.999f * s.r);
  s.e[VibratoElement::waveIndex] = static_cast<float>(type - 36);
  s.e[FilterElement::family] = static_cast<float>(FilterFamily::vibrato);
  return vibratoKernel;
}

FilterKernel selectResampler(const Recipe& s) {
  const float rate = static_cast<float>(s.sampleRate);
  const float holdRate = std::min(fastExp(-6.0f * (1.0f - s.c)) * 0.45f * rate * 3.0f, rate);
  const float period = static_cast<float>(std::max(truncateToInt32(rate / holdRate), 1));
  s.e[ResampleElement::period] = period;
  s.e[ResampleElement::inversePeriod] = 1.0f / period;
  s.e[FilterElement::family] = static_cast<float>(FilterFamily::resampler);
  return resampleKernel;
}

FilterKernel selectRecipe(const Recipe& s, std::int32_t type) {
  if ((type >= 28 && type <= 31) || (type >= 80 && type <= 83)) return selectStateVariable(s, type);
  if ((type >= 42 && type <= 54) || type == 63) return selectLadder(s, type);
  if (type >= 56 && type <= 61) return selectReverb(s, type);
  if ((type >= 36 && type <= 40)) return selectVibrato(s, type);
  switch (type) {
    case 32:
    case 33:
    case 34:
    case 55:
    case 64:
      return selectDelayLine(s, type);
    case 35:
      return selectAmplitudeModulation(s);
    case 41:
      return selectResampler(s);
    default:
      return selectBiquadPair(s, type);
  }
}

void clearElements(FilterState* state, std::int32_t first, std::int32_t last) {
  std::fill(state->element + first, state->element + last + 1, 0.0f);
}

void copyElements(const FilterState* from, FilterState* to, std::int32_t first, std::int32_t last) {
  std::copy(from->element + first, from->element + last + 1, to->element + first);
}

}  // namespace

FilterKernel selectFilterKernel(std::int32_t sampleRate, std::int32_t type, float cutoff, float resonance,
                                FilterState* state) {
  float* const e = state->element;
  const float r = unitOrZero(resonance);
  const float c = unitOrZero(cutoff);
  e[FilterElement::cutoff] = c;
  e[FilterElement::resonance] = r;
  e[FilterElement::type] = static_cast<float>(type);
  e[FilterElement::sampleRate] = static_cast<float>(sampleRate);
  // Every recipe divides by the sample rate: a host that reports none gets no filter rather than infinities.
  if (static_cast<std::uint32_t>(type) > kLastType || sampleRate < 1) return emptyKernel;
  const FilterKernel kernel = selectRecipe(Recipe{e, sampleRate, c, r}, type);
  return kernel ? kernel : emptyKernel;
}

void resetFilterState(FilterState* state) {
  switch (truncateToInt32(state->element[FilterElement::family])) {
    case 0:
    case 1:
    case 2:
      clearElements(state, BiquadElement::historyA, BiquadElement::historyB + 2);
      break;
    case 3:
    case 9:
      clearElements(state, 20, 22);
      break;
    case 4:
    case 5:
    case 6:
    case 8:
    case 11:
      clearElements(state, 20, DelayLineElement::ring + DelayLineElement::ringSize - 1);
      break;
    case 7:
      clearElements(state, 20, 20);
      break;
    case 10:
    case 13:
    case 14:
      clearElements(state, 20, 33);
      break;
    case 12:
      clearElements(state, 20, ReverbElement::ring + ReverbElement::ringSize - 1);
      break;
    default:
      break;
  }
}

void copyFilterSettings(const FilterState* from, FilterState* to) {
  copyElements(from, to, 0, 9);
  switch (truncateToInt32(from->element[FilterElement::family])) {
    case 0:
    case 1:
    case 2:
      copyElements(from, to, BiquadElement::setA, BiquadElement::setA + 4);
      copyElements(from, to, BiquadElement::setB, BiquadElement::setB + 4);
      break;
    case 3:
      copyElements(from, to, 10, 14);
      break;
    case 4:
    case 5:
    case 6:
    case 8:
    case 10:
    case 11:
    case 13:
    case 14:
      copyElements(from, to, 10, 17);
      break;
    case 7:
    case 9:
      copyElements(from, to, 10, 11);
      break;
    case 12: {
      copyElements(from, to, 10, 14);
      const std::int32_t taps =
          std::min(truncateToInt32(from->element[ReverbElement::tapCount]), ReverbElement::maxTaps);
      if (taps >= 1) copyElements(from, to, ReverbElement::taps, ReverbElement::taps + taps - 1);
      break;
    }
    default:
      break;
  }
}
