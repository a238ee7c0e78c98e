// The real plug-in falls asleep after five quiet seconds. A note that starts shortly before that mark is
// quiet at first, while its sound rises; it must still sound for as long as its key is held.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ZintaraFixture.h"
#include "plugin/framework/EffectOpcodes.h"

namespace {

constexpr float sampleRate = 44100.0f;
constexpr int32_t blockSize = 512;
constexpr int32_t sleepMark = 5 * 44100;  // quiet frames after which the engine falls asleep
constexpr int32_t heldFrames = 2 * 44100;
constexpr int32_t volumeParameter = 9;
constexpr unsigned char noteOn = 0x90;
constexpr unsigned char key = 60;
constexpr float programVolume = -1.0f;  // the program's own Volume

// A program whose sound rises quickly (0) or slowly (113), played softly or at full velocity, at the
// program's own Volume or a low one.
struct Playing {
  int32_t program;
  unsigned char velocity;
  float volume;
};

const Playing playings[] = {
    {0, 127, programVolume},   {0, 20, programVolume},   {0, 127, 0.1f},   {0, 20, 0.1f},
    {113, 127, programVolume}, {113, 20, programVolume}, {113, 127, 0.1f}, {113, 20, 0.1f},
};

// How long before the sleep mark the note starts.
const int32_t offsetsMs[] = {0, 5, 10, 15, 20, 25, 30, 40, 50, 60, 70, 85, 100};

std::string describe(const Playing& playing) {
  char text[96];
  std::snprintf(text, sizeof text, "program %d, velocity %d, %s", playing.program, playing.velocity,
                playing.volume == programVolume ? "its own Volume" : "Volume 0.1");
  return text;
}

// What a held note sounded like: its loudest sample, and how many of its blocks were silent, every
// sample exactly 0 on both channels (as the engine plays while it sleeps).
struct HeldNote {
  float peak = 0.0f;
  int32_t silentBlocks = 0;
};

class SleepMarkTest : public ZintaraFixture {
 protected:
  // A fresh effect plays nothing for quietFrames, then the key, held for heldFrames; blocks of
  // blockSize, one of them cut where the note starts.
  HeldNote play(const Playing& playing, int32_t quietFrames) {
    RecordingHost player(pluginPath);
    EXPECT_NE(player.effect(), nullptr);
    if (!player.effect()) return {};
    player.dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    player.dispatch(effSetBlockSize, 0, blockSize);
    player.dispatch(effMainsChanged, 0, 1);
    player.dispatch(effSetProgram, 0, playing.program);
    if (playing.volume != programVolume) player.setParameter(volumeParameter, playing.volume);
    std::vector<float> left(blockSize);
    std::vector<float> right(blockSize);
    const auto render = [&](int32_t frames) {
      float* outputs[2] = {left.data(), right.data()};
      player.effect()->processReplacing(player.effect(), nullptr, outputs, frames);
      player.clearCalls();
    };
    for (int32_t pos = 0; pos < quietFrames; pos += blockSize) render(std::min(blockSize, quietFrames - pos));
    player.sendMidi({{noteOn, key, playing.velocity}});
    HeldNote note;
    for (int32_t pos = 0; pos < heldFrames; pos += blockSize) {
      const int32_t frames = std::min(blockSize, heldFrames - pos);
      render(frames);
      float peak = 0.0f;
      for (int32_t i = 0; i < frames; ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
      if (peak == 0.0f) ++note.silentBlocks;
      note.peak = std::max(note.peak, peak);
    }
    return note;
  }
};

// Each playing is compared with the same note started after one quiet second, far from the mark.
TEST_F(SleepMarkTest, ANoteStartedJustBeforeTheSleepMarkSoundsForAsLongAsItIsHeld) {
  for (const Playing& playing : playings) {
    const HeldNote reference = play(playing, 44100);
    ASSERT_EQ(reference.silentBlocks, 0) << describe(playing);
    ASSERT_GT(reference.peak, 0.0f) << describe(playing);
    for (int32_t offsetMs : offsetsMs) {
      const HeldNote note = play(playing, sleepMark - offsetMs * 44100 / 1000);
      EXPECT_EQ(note.silentBlocks, 0) << describe(playing) << ", " << offsetMs << " ms before the mark";
      EXPECT_GT(note.peak, 0.5f * reference.peak)
          << describe(playing) << ", " << offsetMs << " ms before the mark";
    }
  }
}

}  // namespace
