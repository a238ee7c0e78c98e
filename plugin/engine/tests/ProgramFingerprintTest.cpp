// Every factory program played through the real plug-in sounds exactly as its stored fingerprint says:
// each kept sample and the magnitude sum of each channel are the stored numbers themselves, since the same
// code plays the same numbers every time. Work that only makes the engine faster must keep this test
// green unchanged. After a deliberate change of the sound, renew the fingerprints
// (ProgramFingerprints.bin, compiled into this test) with
//   cmake --build build --target update_program_fingerprints

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "plugin/engine/ProgramRecord.h"
#include "plugin/engine/tools/ProgramFingerprint.h"
#include "tests/support/TestPaths.h"

namespace {

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

  for (int32_t program = 0; program < programCount; ++program) {
    for (int32_t playing = 0; playing < ProgramFingerprint::playingCount; ++playing) {
      const FingerprintPlaying& played = fingerprintPlayings[playing];
      const std::string playingText = "program " + std::to_string(program) + " key " +
                                      std::to_string(played.key) + " at " +
                                      std::to_string(static_cast<int>(played.sampleRate)) + " Hz";
      ASSERT_EQ(current[program].frames[playing], stored[program].frames[playing]) << playingText;
      for (int32_t channel = 0; channel < ProgramFingerprint::channelCount; ++channel) {
        const ProgramFingerprint::Channel& now = current[program].channels[playing][channel];
        const ProgramFingerprint::Channel& then = stored[program].channels[playing][channel];
        const std::string where = playingText + " channel " + std::to_string(channel);
        for (int32_t point = 0; point < ProgramFingerprint::pointCount; ++point) {
          ASSERT_EQ(now.points[point], then.points[point]) << where << " frame " << point * played.stride;
        }
        ASSERT_EQ(now.magnitudeSum, then.magnitudeSum) << where;
      }
    }
  }
}

}  // namespace
