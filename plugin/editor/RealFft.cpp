#include "plugin/editor/RealFft.h"

#include <cmath>
#include <utility>

#include "plugin/engine/dsp/FastMath.h"

namespace {

void reverseBits(float* data, std::int32_t n) {
  for (std::int32_t i = 0, j = 0; i < n - 1; ++i) {
    if (i < j) std::swap(data[i], data[j]);
    std::int32_t k = n / 2;
    while (k <= j) {
      j -= k;
      k >>= 1;
    }
    j += k;
  }
}

void lengthTwoButterflies(float* data, std::int32_t n) {
  std::int32_t i0 = 0;
  std::int32_t id = 4;
  do {
    for (; i0 < n - 1; i0 += id) {
      const float t1 = data[i0];
      data[i0] = t1 + data[i0 + 1];
      data[i0 + 1] = t1 - data[i0 + 1];
    }
    id <<= 1;
    i0 = id - 2;
    id <<= 1;
  } while (i0 < n - 1);
}

// The butterflies of one stage of length n2 whose twiddle angle is zero (and, from length 8, pi/4).
void plainLButterflies(float* data, std::int32_t n, std::int32_t n2, float sqrt2) {
  const std::int32_t n4 = n2 >> 2;
  const std::int32_t n8 = n2 >> 3;
  std::int32_t i1 = 0;
  std::int32_t id = n2 << 1;
  do {
    for (; i1 < n; i1 += id) {
      std::int32_t i2 = i1 + n4;
      std::int32_t i3 = i2 + n4;
      std::int32_t i4 = i3 + n4;
      float t1 = data[i4] + data[i3];
      data[i4] -= data[i3];
      data[i3] = data[i1] - t1;
      data[i1] += t1;
      if (n4 != 1) {
        const std::int32_t i0 = i1 + n8;
        i2 += n8;
        i3 += n8;
        i4 += n8;
        t1 = (data[i3] + data[i4]) / sqrt2;
        const float t2 = (data[i3] - data[i4]) / sqrt2;
        data[i4] = data[i2] - t1;
        data[i3] = -data[i2] - t1;
        data[i2] = data[i0] - t2;
        data[i0] += t2;
      }
    }
    id <<= 1;
    i1 = id - n2;
    id <<= 1;
  } while (i1 < n);
}

// The butterflies of one stage of length n2 at twiddle index j (angle a = (j - 1) * 2 pi / n2).
void twiddledLButterflies(float* data, std::int32_t n, std::int32_t n2, std::int32_t j, float a) {
  const std::int32_t n4 = n2 >> 2;
  const float cc1 = fastCosine(a);
  const float ss1 = fastSine(a);
  const float cc3 = fastCosine(3.0f * a);
  const float ss3 = fastSine(3.0f * a);
  std::int32_t i = 0;
  std::int32_t id = n2 << 1;
  do {
    for (; i < n; i += id) {
      const std::int32_t i1 = i + j - 1;
      const std::int32_t i2 = i1 + n4;
      const std::int32_t i3 = i2 + n4;
      const std::int32_t i4 = i3 + n4;
      const std::int32_t i5 = i + n4 - j + 1;
      const std::int32_t i6 = i5 + n4;
      const std::int32_t i7 = i6 + n4;
      const std::int32_t i8 = i7 + n4;
      const float t1 = data[i3] * cc1 + data[i7] * ss1;
      const float t2 = data[i7] * cc1 - data[i3] * ss1;
      const float u3 = data[i4] * cc3 + data[i8] * ss3;
      const float u4 = data[i8] * cc3 - data[i4] * ss3;
      const float t5 = t1 + u3;
      const float t6 = t2 + u4;
      const float t3 = t1 - u3;
      const float t4 = t2 - u4;
      const float sum6 = data[i6] + t6;
      data[i3] = t6 - data[i6];
      data[i8] = sum6;
      const float difference2 = data[i2] - t3;
      data[i7] = -data[i2] - t3;
      data[i4] = difference2;
      const float sum1 = data[i1] + t5;
      data[i6] = data[i1] - t5;
      data[i1] = sum1;
      const float sum5 = data[i5] + t4;
      data[i5] -= t4;
      data[i2] = sum5;
    }
    id <<= 1;
    i = id - n2;
    id <<= 1;
  } while (i < n);
}

}  // namespace

void realFft(float* data, std::int32_t n) {
  const float sqrt2 = std::sqrt(2.0f);
  reverseBits(data, n);
  lengthTwoButterflies(data, n);
  std::int32_t n2 = 2;
  for (std::int32_t k = n; k > 2; k >>= 1) {
    n2 <<= 1;
    const float e = 6.2831855f / static_cast<float>(n2);
    plainLButterflies(data, n, n2, sqrt2);
    for (std::int32_t j = 2; j <= (n2 >> 3); ++j) {
      twiddledLButterflies(data, n, n2, j, static_cast<float>(j - 1) * e);
    }
  }
  const float size = static_cast<float>(n);
  for (std::int32_t i = 0; i < n; ++i) data[i] /= size;
}
