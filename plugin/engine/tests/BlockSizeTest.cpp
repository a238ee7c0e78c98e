// The real plug-in plays the same score in blocks of very different sizes, as hosts cut their blocks at
// automation points and loop ends: the output must not depend on the cut.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ZintaraFixture.h"
#include "plugin/framework/EffectOpcodes.h"

namespace {

constexpr int32_t programCount = 159;
constexpr unsigned char noteOn = 0x90;
constexpr unsigned char noteOff = 0x80;
constexpr int32_t sameProgram = -1;

// What arrives before the block starting at frame: a program selected by the host (unless sameProgram),
// then MIDI messages.
struct ScoreEvent {
  int32_t frame;
  int32_t program;
  std::vector<std::vector<unsigned char>> messages;
};

// Another program with a note, then the program under test with single notes and a chord; the events
// fall at frames that are no multiple of a control period.
std::vector<ScoreEvent> scoreFor(int32_t program, int32_t frames) {
  const auto at = [frames](double share) { return static_cast<int32_t>(share * frames) | 1; };
  return {
      {0, (program + programCount - 1) % programCount, {{noteOn, 60, 100}}},
      {at(0.07), program, {{noteOn, 48, 100}}},
      {at(0.25), sameProgram, {{noteOn, 55, 80}}},
      {at(0.45), sameProgram, {{noteOff, 48, 0}}},
      {at(0.6), sameProgram, {{noteOff, 55, 0}}},
      {at(0.7), sameProgram, {{noteOn, 67, 127}}},
      {at(0.85), sameProgram, {{noteOff, 67, 0}}},
  };
}

// A note, a rest long enough for the engine to fall asleep (five quiet seconds after the note has died
// away), and another note.
constexpr double restSeconds = 9.0;
std::vector<ScoreEvent> restScoreFor(int32_t program, float sampleRate) {
  const auto at = [sampleRate](double seconds) { return static_cast<int32_t>(seconds * sampleRate) | 1; };
  return {
      {0, program, {{noteOn, 48, 100}}},
      {at(0.2), sameProgram, {{noteOff, 48, 0}}},
      {at(restSeconds), sameProgram, {{noteOn, 55, 100}}},
      {at(restSeconds + 0.2), sameProgram, {{noteOff, 55, 0}}},
  };
}

// Samples per control tick.
int32_t controlPeriod(float sampleRate) {
  return static_cast<int32_t>(sampleRate / 1200.0f);
}

// One copy of the plug-in per block size, each loaded once, so that every copy's random states and
// clocks run through the same history as long as the copies play alike.
class BlockSizeTest : public ZintaraFixture {
 protected:
  static constexpr int32_t blockSizes[] = {4096, 1, 2, 7, 64, 512};

  void openCopies() {
    host.reset();
    for (int32_t blockSize : blockSizes) {
      const std::string copy = folder + "zintara3-" + std::to_string(blockSize) + ".dll";
      ASSERT_TRUE(CopyFileA(pluginPath.c_str(), copy.c_str(), FALSE));
      hosts.push_back(std::make_unique<RecordingHost>(copy));
      ASSERT_NE(hosts.back()->effect(), nullptr);
    }
  }

  void TearDown() override {
    hosts.clear();
    ZintaraFixture::TearDown();
  }

  // Plays the score on copy c in its blocks, cut at every event; answers both channels, interleaved.
  std::vector<float> play(size_t c, const std::vector<ScoreEvent>& score, int32_t frames, float sampleRate) {
    RecordingHost& player = *hosts[c];
    const int32_t blockSize = blockSizes[c];
    player.dispatch(effMainsChanged, 0, 0);
    player.dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    player.dispatch(effSetBlockSize, 0, blockSize);
    player.dispatch(effMainsChanged, 0, 1);
    std::vector<float> left(frames, 7.0f);
    std::vector<float> right(frames, 7.0f);
    size_t next = 0;
    for (int32_t pos = 0; pos < frames;) {
      if (next < score.size() && score[next].frame == pos) {
        const ScoreEvent& event = score[next++];
        if (event.program != sameProgram) player.dispatch(effSetProgram, 0, event.program);
        player.sendMidi(event.messages);
      }
      int32_t end = std::min(pos + blockSize, frames);
      if (next < score.size()) end = std::min(end, score[next].frame);
      float* outputs[2] = {left.data() + pos, right.data() + pos};
      player.effect()->processReplacing(player.effect(), nullptr, outputs, end - pos);
      // The effect's calls to the host land in the last host made.
      hosts.back()->clearCalls();
      pos = end;
    }
    std::vector<float> both(2 * static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i) {
      both[2 * i] = left[i];
      both[2 * i + 1] = right[i];
    }
    return both;
  }

  // Plays the score on every copy; answers the first copy's rendering after checking that every other
  // copy's is the same, sample by sample.
  std::vector<float> playOnEveryCopy(const std::vector<ScoreEvent>& score, int32_t frames, float sampleRate,
                                     const std::string& what) {
    const std::vector<float> reference = play(0, score, frames, sampleRate);
    for (size_t c = 1; c < hosts.size(); ++c) {
      const std::vector<float> output = play(c, score, frames, sampleRate);
      size_t first = 0;
      while (first < output.size() && output[first] == reference[first]) ++first;
      EXPECT_EQ(first, output.size())
          << what << " at " << sampleRate << " Hz in blocks of " << blockSizes[c] << ": frame " << first / 2
          << " differs, " << output[first] << " against " << reference[first];
    }
    return reference;
  }

  std::vector<std::unique_ptr<RecordingHost>> hosts;
};

// Every rendering ends inside a control period, with the rest of that period rendered ahead: after the
// suspend that starts the next rendering, that rest plays as silence.
TEST_F(BlockSizeTest, EveryProgramSoundsTheSameWhateverTheBlockSizes) {
  ASSERT_NO_FATAL_FAILURE(openCopies());
  const float sampleRates[] = {44100.0f, 48000.0f, 96000.0f};
  int32_t restAhead = 0;  // of the period that the previous rendering ended inside
  for (int32_t program = 0; program < programCount; ++program) {
    const float sampleRate = sampleRates[program % 3];
    const int32_t frames = static_cast<int32_t>(sampleRate) + 17;
    const std::string what = "program " + std::to_string(program);
    const std::vector<float> reference = playOnEveryCopy(scoreFor(program, frames), frames, sampleRate, what);
    if (HasFailure()) return;
    float loudest = 0.0f;
    for (float x : reference) loudest = std::max(loudest, std::fabs(x));
    EXPECT_GT(loudest, 0.001f) << what;
    for (int32_t i = 0; i < 2 * restAhead; ++i) ASSERT_EQ(reference[i], 0.0f) << what << " frame " << i / 2;
    const int32_t period = controlPeriod(sampleRate);
    restAhead = (period - (frames - restAhead) % period) % period;
  }
}

// The engine falls asleep where a control period ends, so after a rest every block size plays alike.
// Every eighth program, at all three rates in turn.
TEST_F(BlockSizeTest, ProgramsSoundTheSameAfterARest) {
  ASSERT_NO_FATAL_FAILURE(openCopies());
  const float sampleRates[] = {44100.0f, 48000.0f, 96000.0f};
  for (int32_t program = 0; program < programCount; program += 8) {
    const float sampleRate = sampleRates[program % 3];
    const int32_t frames = static_cast<int32_t>((restSeconds + 0.5) * sampleRate);
    const std::string what = "program " + std::to_string(program) + " after a rest";
    playOnEveryCopy(restScoreFor(program, sampleRate), frames, sampleRate, what);
    if (HasFailure()) return;
  }
}

}  // namespace
