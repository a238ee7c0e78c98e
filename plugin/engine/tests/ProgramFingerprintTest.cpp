// Every factory program played through the real plug-in sounds as its stored fingerprint says: each kept
// sample within 1e-5 of the stored one, and the magnitude sum of each channel within 1e-5 per frame.
// Work that only makes the engine faster must keep this test green unchanged. After a deliberate change
// of the sound, renew the fingerprints (ProgramFingerprints.bin, compiled into this test) with
//   cmake --build build --target update_program_fingerprints

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "plugin/engine/ProgramRecord.h"
#include "plugin/engine/tools/ProgramFingerprint.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr double tolerance = 1e-5;
constexpr int storedFingerprintsId = 1;

std::vector<ProgramFingerprint> storedFingerprints() {
  std::vector<ProgramFingerprint> fingerprints;
  const HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(storedFingerprintsId), RT_RCDATA);
  const HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data) decodeFingerprints(data, SizeofResource(nullptr, resource), fingerprints);
  return fingerprints;
}

std::vector<ProgramFingerprint> currentFingerprints() {
  const std::string plugin = Testing::makeTempFolder("zintara-fingerprint-test") + "zintara3.dll";
  if (!CopyFileA((Testing::binaryFolder() + "zintara3.dll").c_str(), plugin.c_str(), FALSE)) return {};
  const ProgramRenderer renderer(plugin);
  if (!renderer.loaded()) return {};
  return takeProgramFingerprints(renderer, programCount);
}

TEST(ProgramFingerprint, EveryProgramSoundsAsStored) {
  const std::vector<ProgramFingerprint> stored = storedFingerprints();
  ASSERT_EQ(stored.size(), static_cast<std::size_t>(programCount)) << "no stored fingerprints";
  const std::vector<ProgramFingerprint> current = currentFingerprints();
  ASSERT_EQ(current.size(), stored.size()) << "the plug-in could not play";

  double largestDeviation = 0.0;
  for (int32_t program = 0; program < programCount; ++program) {
    ASSERT_EQ(current[program].frames, stored[program].frames);
    const double sumTolerance = tolerance * current[program].frames;
    for (int32_t playing = 0; playing < ProgramFingerprint::playingCount; ++playing) {
      for (int32_t channel = 0; channel < ProgramFingerprint::channelCount; ++channel) {
        const ProgramFingerprint::Channel& now = current[program].channels[playing][channel];
        const ProgramFingerprint::Channel& then = stored[program].channels[playing][channel];
        const std::string where = "program " + std::to_string(program) + " key " +
                                  std::to_string(fingerprintKeys[playing]) + " channel " +
                                  std::to_string(channel);
        for (int32_t point = 0; point < ProgramFingerprint::pointCount; ++point) {
          const double deviation = std::fabs(static_cast<double>(now.points[point]) - then.points[point]);
          ASSERT_LE(deviation, tolerance) << where << " frame " << point * fingerprintStride;
          largestDeviation = std::max(largestDeviation, deviation);
        }
        ASSERT_LE(std::fabs(now.magnitudeSum - then.magnitudeSum), sumTolerance) << where;
      }
    }
  }
  std::printf("largest deviation of a kept sample: %.3g\n", largestDeviation);
}

}  // namespace
