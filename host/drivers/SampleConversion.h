#pragma once

#include <cmath>
#include <cstdint>

namespace Ombix::Kelvane {

// A float sample made safe for a device: clipped to [-1, 1]; NaN and infinities become 0 so that a
// faulty plug-in never produces a full-scale click.
inline float ClipSample(float sample) {
  if (!std::isfinite(sample)) return 0.0f;
  return sample < -1.0f ? -1.0f : (sample > 1.0f ? 1.0f : sample);
}

// Clipped, scaled by 32767 in double precision and truncated (the ASIO 16-bit output).
inline std::int16_t ToInt16Double(float sample) {
  return static_cast<std::int16_t>(static_cast<double>(ClipSample(sample)) * 32767.0);
}

// Clipped, scaled by 32767 in single precision and truncated (the DirectSound output).
inline std::int16_t ToInt16Single(float sample) {
  return static_cast<std::int16_t>(ClipSample(sample) * 32767.0f);
}

// Clipped, scaled by 2147483647 in double precision and truncated (the ASIO 32-bit output).
inline std::int32_t ToInt32(float sample) {
  return static_cast<std::int32_t>(static_cast<double>(ClipSample(sample)) * 2147483647.0);
}

inline float FromInt16(std::int16_t sample) {
  return static_cast<float>(sample) * (1.0f / 32768.0f);
}

inline float FromInt32(std::int32_t sample) {
  return static_cast<float>(sample) * (1.0f / 2147483648.0f);
}

// Writes frames of 16-bit stereo, left first, converted like ToInt16Single.
inline void InterleaveStereo16(const float* left, const float* right, int frames, std::int16_t* out) {
  for (int i = 0; i < frames; ++i) {
    out[2 * i] = ToInt16Single(left[i]);
    out[2 * i + 1] = ToInt16Single(right[i]);
  }
}

}  // namespace Ombix::Kelvane
