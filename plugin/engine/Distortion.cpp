#include "plugin/engine/Distortion.h"

#include <algorithm>
#include <cmath>

#include "plugin/engine/Fraction.h"
#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/FloatVector.h"

namespace {

constexpr float h1 = 0.1074f;
constexpr float h3 = 0.183f;
constexpr float h5 = 0.6264f;

// The arithmetic of the shapes for one channel (floats) and for two side by side (lanes); both give
// each channel the same values.
float limitToUnit(float x) {
  return std::min(1.0f, std::max(-1.0f, x));
}
FloatVector limitToUnit(FloatVector x) {
  // The same answer for NaN (-1) as the float form.
  return lesserOf(greaterOf(x, FloatVector(-1.0f)), FloatVector(1.0f));
}

float signOf(float x) {
  return x > 0.0f ? 1.0f : -1.0f;
}
FloatVector signOf(FloatVector x) {
  return select(greaterThan(x, FloatVector()), FloatVector(1.0f), FloatVector(-1.0f));
}

float negativeSign(float x) {
  return x < 0.0f ? -1.0f : 1.0f;
}
FloatVector negativeSign(FloatVector x) {
  return select(lessThan(x, FloatVector()), FloatVector(-1.0f), FloatVector(1.0f));
}

float squareRoot(float x) {
  return std::sqrt(x);
}
FloatVector squareRoot(FloatVector x) {
  return _mm_sqrt_ps(x.value);
}

// The 16-entry rings of one channel, or of two channels side by side (copied into interleaved rings for
// the call and back afterwards).
class OneRing {
 public:
  using Value = float;
  explicit OneRing(float* ring) : ring(ring) {}
  Value at(int32_t n) const { return ring[n & 15]; }
  void set(int32_t n, Value value) { ring[n & 15] = value; }

 private:
  float* ring;
};

class TwoRings {
 public:
  using Value = FloatVector;
  TwoRings(float* left, float* right) : left(left), right(right) {
    for (int32_t n = 0; n < 16; ++n) {
      ring[n][0] = left[n];
      ring[n][1] = right[n];
    }
  }
  ~TwoRings() {
    for (int32_t n = 0; n < 16; ++n) {
      left[n] = ring[n][0];
      right[n] = ring[n][1];
    }
  }
  TwoRings(const TwoRings&) = delete;
  TwoRings& operator=(const TwoRings&) = delete;

  Value at(int32_t n) const { return FloatVector::loadPair(ring[n & 15]); }
  void set(int32_t n, Value value) { value.storePair(ring[n & 15]); }

 private:
  float* left;
  float* right;
  float ring[16][2];
};

// The samples of one channel or of two side by side.
class OneBuffer {
 public:
  using Value = float;
  explicit OneBuffer(float* buffer) : buffer(buffer) {}
  Value sample(int32_t i) const { return buffer[i]; }
  void setSample(int32_t i, Value value) { buffer[i] = value; }

 private:
  float* buffer;
};

class TwoBuffers {
 public:
  using Value = FloatVector;
  TwoBuffers(float* left, float* right) : left(left), right(right) {}
  Value sample(int32_t i) const { return FloatVector::pair(left[i], right[i]); }
  void setSample(int32_t i, Value value) {
    left[i] = value.lane0();
    right[i] = value.lane1();
  }

 private:
  float* left;
  float* right;
};

// The half-band sum around position n of a ring.
template <typename Ring>
typename Ring::Value halfBand(const Ring& ring, int32_t n) {
  using Value = typename Ring::Value;
  return (ring.at(n - 4) + ring.at(n + 2)) * Value(h1) - (ring.at(n - 6) + ring.at(n + 4)) * Value(h3) +
         (ring.at(n - 8) + ring.at(n + 6)) * Value(h5);
}

// Runs the oversampled path: the interpolated sample goes through shapeA, the delayed input sample
// through shapeB. upPos and downPos are the ring positions, shared by the channels.
template <typename Buffer, typename Ring, typename ShapeA, typename ShapeB>
void oversample(Buffer buffer, int32_t count, Ring& up, Ring& down, int8_t& upPos, int8_t& downPos,
                float gainIn, float gainOut, ShapeA shapeA, ShapeB shapeB) {
  using Value = typename Buffer::Value;
  const Value in(gainIn);
  const Value out(gainOut);
  const Value half(0.5f);
  for (int32_t i = 0; i < count; ++i) {
    up.set(upPos, in * buffer.sample(i));
    const int32_t n = upPos + 1;
    upPos = static_cast<int8_t>(n);
    const Value a = shapeA(halfBand(up, n));
    const Value b = shapeB(up.at(n + 7));

    const int32_t d = downPos;
    down.set(d, a * half);
    down.set(d + 1, b * half);
    const int32_t m = d + 2;
    downPos = static_cast<int8_t>(m);
    buffer.setSample(i, (halfBand(down, m) + down.at(m + 7)) * out);
  }
}

// The oversampled types, with the arithmetic of Value.
template <typename Buffer, typename Ring>
void shapeOversampled(Buffer buffer, int32_t count, Ring& up, Ring& down, int8_t& upPos, int8_t& downPos,
                      int32_t type, float drive) {
  using Value = typename Buffer::Value;
  const auto run = [&](float gainIn, float gainOut, auto shapeA, auto shapeB) {
    oversample(buffer, count, up, down, upPos, downPos, gainIn, gainOut, shapeA, shapeB);
  };
  const float exponentialGain = fastExp(drive * 10.0f) / 10.0f;
  const auto rational = [](Value x) { return x / (fastAbs(x) + Value(1.0f)); };
  const auto presence = [](Value x) { return x / (x * x + Value(1.0f)); };
  const auto sine = [](Value x) { return fastSine(x); };
  switch (type) {
    case distortionTubeAmp:
      run(exponentialGain, 0.5f, rational, [rational](Value x) { return fastSine(rational(x)); });
      break;
    case distortionHardClip:
      run(
          exponentialGain, 0.4f, [](Value x) { return limitToUnit(x); },
          [](Value x) { return limitToUnit(x); });
      break;
    case distortionPresence:
      run(exponentialGain, 0.8f, presence, [presence](Value x) { return fastSine(presence(x)); });
      break;
    case distortionWavewrap: {
      const Value g(fastExp(drive * 4.0f));
      const auto wrap = [g](Value x) {
        const Value a = x * g;
        const Value r = wholePart(fastAbs(a) + Value(0.5f));
        return (r * signOf(a) - a) / g;
      };
      run(1.0f, 3.0f, wrap, wrap);
      break;
    }
    case distortionWaveshape:
      run(exponentialGain, 0.5f, sine, sine);
      break;
    case distortionBitcrush: {
      const Value c(fastExp((1.0f - drive) * 6.0f) * 4.0f);
      const auto crush = [c](Value x) {
        const Value s = negativeSign(x);
        const Value q = wholePart(squareRoot(s * c * x));
        return (q * q / c) * s;
      };
      run(1.0f, 1.5f, crush, crush);
      break;
    }
    case distortionSquare: {
      const auto square = [](Value x) { return x * x; };
      run(std::sqrt(drive) * 10.0f, 2.0f, square, square);
      break;
    }
    case distortionCubic: {
      const auto cube = [](Value x) { return x * x * x; };
      run(std::sqrt(drive) * 10.0f, 2.0f, cube, cube);
      break;
    }
    case distortionWarble: {
      const auto warble = [](Value x) { return fastSine(x) * x; };
      run(drive * drive * 40.0f, 0.4f, warble, warble);
      break;
    }
    default:
      break;
  }
}

void compress(float* buffer, int32_t count, DistortionState& state, float drive, float sampleRate) {
  const float k = (1.0f / sampleRate) * 20.5f * 0.5f;
  const float threshold = drive * drive;
  float envelope = std::isfinite(state.upRing[0]) ? state.upRing[0] : 0.0f;
  for (int32_t i = 0; i < count; ++i) {
    const float x = buffer[i];
    envelope = fastAbs(x) * k + (1.0f - k) * envelope;
    if (envelope >= threshold && envelope > 0.0f) buffer[i] = x * threshold / envelope;
  }
  state.upRing[0] = std::isfinite(envelope) ? envelope : 0.0f;
}

// A drive from automation or modulation brought into 0..8 (NaN counts as 0).
float limitDrive(float drive) {
  return std::isnan(drive) ? 0.0f : std::min(8.0f, std::max(0.0f, drive));
}

bool oversampled(int32_t type) {
  return type != distortionVolume && type != distortionCompressor;
}

}  // namespace

void distort(float* buffer, int32_t count, DistortionState& state, int32_t type, float drive,
             float sampleRate) {
  if (type < distortionTubeAmp || type > distortionWarble) return;
  drive = limitDrive(drive);
  if (type == distortionVolume) {
    const float gain = drive * drive * 4.0f;
    for (int32_t i = 0; i < count; ++i) buffer[i] *= gain;
  } else if (type == distortionCompressor) {
    compress(buffer, count, state, drive, sampleRate);
  } else {
    OneRing up(state.upRing);
    OneRing down(state.downRing);
    shapeOversampled(OneBuffer(buffer), count, up, down, state.upPos, state.downPos, type, drive);
  }
}

void distortPair(float* left, float* right, int32_t count, DistortionState& leftState,
                 DistortionState& rightState, int32_t type, float drive, float sampleRate) {
  const bool together = leftState.upPos == rightState.upPos && leftState.downPos == rightState.downPos;
  if (type < distortionTubeAmp || type > distortionWarble || !oversampled(type) || !together) {
    distort(left, count, leftState, type, drive, sampleRate);
    distort(right, count, rightState, type, drive, sampleRate);
    return;
  }
  int8_t upPos = leftState.upPos;
  int8_t downPos = leftState.downPos;
  {
    TwoRings up(leftState.upRing, rightState.upRing);
    TwoRings down(leftState.downRing, rightState.downRing);
    shapeOversampled(TwoBuffers(left, right), count, up, down, upPos, downPos, type, limitDrive(drive));
  }
  leftState.upPos = rightState.upPos = upPos;
  leftState.downPos = rightState.downPos = downPos;
}
