// Prints the cost of each filter kernel family at 44.1 kHz: nanoseconds per sample and channel over
// 512-sample buffers with a warmed state, and the cost of one selection (coefficient design) per control
// tick.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "plugin/engine/filters/FilterSelection.h"
#include "plugin/engine/filters/FilterState.h"

namespace {

constexpr std::int32_t kSampleRate = 44100;
constexpr std::int32_t kBlock = 512;
constexpr double kMinimumSeconds = 0.25;

struct Family {
  const char* name;
  std::int32_t type;
};

constexpr Family kFamilies[] = {
    {"biquad serial (LP 30dB)", 0},
    {"biquad parallel (BP Para)", 15},
    {"biquad all-pass mix (Phaser)", 23},
    {"state-variable (LP SVF)", 28},
    {"saturated state-variable", 80},
    {"ladder (LP Moog24)", 42},
    {"noisy ladder", 63},
    {"resampler (Resample)", 41},
    {"delay (Delay)", 55},
    {"resonator (Resonator)", 32},
    {"comb (Comb1)", 33},
    {"comb, 2 taps (Comb2)", 34},
    {"comb, 4 taps (Comb5)", 64},
    {"amplitude modulation (AM)", 35},
    {"vibrato (FM Sine)", 36},
    {"reverb, 30 taps (Reverb big1)", 56},
    {"reverb, 16 taps (Reverb med1)", 58},
    {"reverb, 8 taps (Reverb small1)", 60},
};

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  auto state = std::make_unique<FilterState>();
  std::vector<float> source(kBlock);
  std::uint32_t seed = 1u;
  for (float& v : source) {
    seed = seed * 1664525u + 1013904223u;
    v = static_cast<float>(seed >> 8) * (2.0f / 16777216.0f) - 1.0f;
  }
  std::vector<float> buffer(kBlock);
  float sink = 0.0f;

  std::printf("Filter kernels at %d Hz, %d-sample buffers, cutoff 0.5, resonance 0.5\n", kSampleRate, kBlock);
  std::printf("%-32s %5s %14s %16s\n", "family", "type", "ns per sample", "ns per selection");
  for (const Family& family : kFamilies) {
    state->clear();
    const FilterKernel kernel = selectFilterKernel(kSampleRate, family.type, 0.5f, 0.5f, state.get());
    for (int warm = 0; warm < 200; ++warm) {
      std::memcpy(buffer.data(), source.data(), sizeof(float) * kBlock);
      kernel(buffer.data(), kBlock, state.get());
    }

    std::int64_t samples = 0;
    const auto kernelStart = std::chrono::steady_clock::now();
    double kernelSeconds = 0.0;
    do {
      for (int i = 0; i < 256; ++i) {
        std::memcpy(buffer.data(), source.data(), sizeof(float) * kBlock);
        kernel(buffer.data(), kBlock, state.get());
        sink += buffer[kBlock - 1];
      }
      samples += 256 * kBlock;
      kernelSeconds = secondsSince(kernelStart);
    } while (kernelSeconds < kMinimumSeconds);

    std::int64_t selections = 0;
    const auto selectionStart = std::chrono::steady_clock::now();
    double selectionSeconds = 0.0;
    do {
      for (int i = 0; i < 1024; ++i) {
        const float cutoff = 0.25f + 0.5f * static_cast<float>(i) / 1024.0f;
        selectFilterKernel(kSampleRate, family.type, cutoff, 0.5f, state.get());
      }
      selections += 1024;
      selectionSeconds = secondsSince(selectionStart);
    } while (selectionSeconds < kMinimumSeconds);

    std::printf("%-32s %5d %14.2f %16.1f\n", family.name, family.type,
                kernelSeconds * 1e9 / static_cast<double>(samples),
                selectionSeconds * 1e9 / static_cast<double>(selections));
  }
  std::printf("(checksum %g)\n", static_cast<double>(sink));
  return 0;
}
