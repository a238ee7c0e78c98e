#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "ZintaraFixture.h"
#include "plugin/framework/EffectOpcodes.h"

namespace {

constexpr int32_t parameterCount = 48;
constexpr int32_t filterTypeParameter1 = 0;
constexpr int32_t filterTypeParameter2 = 3;
constexpr int32_t routingParameter = 6;
constexpr int32_t cutoffParameter1 = 1;
constexpr int32_t resonanceParameter1 = 2;

// The real plug-in under random and extreme use: its output must stay finite and within -5..5.
class SoundRobustnessTest : public ZintaraFixture {
 protected:
  void start(float sampleRate, int32_t blockSize) {
    host->dispatch(effMainsChanged, 0, 0);
    host->dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    host->dispatch(effSetBlockSize, 0, blockSize);
    host->dispatch(effMainsChanged, 0, 1);
  }

  void renderChecked(int32_t frames) {
    left.assign(frames, 0.0f);
    right.assign(frames, 0.0f);
    float* outputs[2] = {left.data(), right.data()};
    host->effect()->processReplacing(host->effect(), nullptr, outputs, frames);
    for (int32_t i = 0; i < frames; ++i) {
      ASSERT_TRUE(std::isfinite(left[i]) && std::fabs(left[i]) <= 5.0f) << left[i] << " at " << i;
      ASSERT_TRUE(std::isfinite(right[i]) && std::fabs(right[i]) <= 5.0f) << right[i] << " at " << i;
    }
    host->clearCalls();
  }

  void notes(unsigned char status, std::initializer_list<unsigned char> keys) {
    std::vector<std::vector<unsigned char>> messages;
    for (unsigned char key : keys) messages.push_back({status, key, 110});
    host->sendMidi(messages);
  }

  std::vector<float> left;
  std::vector<float> right;
};

float menuValue(int32_t entry) {
  return static_cast<float>(entry + 1) / 100.0f;
}

TEST_F(SoundRobustnessTest, EveryRoutingAndFilterTypeStaysFiniteAndBounded) {
  start(44100.0f, 512);
  notes(0x90, {36, 60, 67, 96});
  for (int32_t routing = 0; routing < 8; ++routing) {
    for (int32_t type = 0; type < 58; ++type) {
      SCOPED_TRACE(testing::Message() << "routing " << routing << " filter type " << type);
      host->setParameter(routingParameter, menuValue(routing));
      host->setParameter(filterTypeParameter1, menuValue(type));
      host->setParameter(filterTypeParameter2, menuValue((type * 7 + 3) % 58));
      host->setParameter(cutoffParameter1, static_cast<float>(type % 3) * 0.5f);
      host->setParameter(resonanceParameter1, type % 2 == 0 ? 1.0f : 0.3f);
      for (int block = 0; block < 3; ++block) ASSERT_NO_FATAL_FAILURE(renderChecked(512));
    }
  }
}

TEST_F(SoundRobustnessTest, RandomParametersNotesSampleRatesAndBlockSizes) {
  const float sampleRates[] = {22050.0f, 32000.0f, 44100.0f,  48000.0f,
                               88200.0f, 96000.0f, 176400.0f, 192000.0f};
  std::mt19937 random(2024);
  std::uniform_real_distribution<float> wide(-0.5f, 1.5f);
  std::uniform_int_distribution<int32_t> menuEntry(0, 70);
  std::uniform_int_distribution<int32_t> blockSize(1, 4096);
  std::uniform_int_distribution<int32_t> key(0, 127);
  std::uniform_int_distribution<int32_t> percent(0, 99);
  for (int trial = 0; trial < 80; ++trial) {
    const float sampleRate = sampleRates[trial % 8];
    SCOPED_TRACE(testing::Message() << "trial " << trial << " at " << sampleRate);
    start(sampleRate, 4096);
    host->dispatch(effSetProgram, 0, random() % 159);
    for (int32_t index = 0; index < parameterCount; ++index) {
      const int32_t choice = percent(random);
      if (choice < 40) continue;  // keep the program's value
      const float extreme = choice % 2 == 0 ? 7.5f : -3.0f;
      host->setParameter(index,
                         choice < 80 ? menuValue(menuEntry(random)) : (choice < 95 ? wide(random) : extreme));
    }
    const unsigned char a = static_cast<unsigned char>(key(random));
    const unsigned char b = static_cast<unsigned char>(key(random));
    notes(0x90, {a, b, 60});
    int64_t rendered = 0;
    while (rendered < static_cast<int64_t>(sampleRate / 2)) {
      const int32_t frames = blockSize(random);
      ASSERT_NO_FATAL_FAILURE(renderChecked(frames));
      rendered += frames;
      if (percent(random) < 10) notes(0x80, {a});
      if (percent(random) < 5) host->sendMidi({{0xE0, 0, static_cast<unsigned char>(key(random))}});
    }
    notes(0x80, {b, 60});
    for (int block = 0; block < 4; ++block) ASSERT_NO_FATAL_FAILURE(renderChecked(blockSize(random)));
  }
}

}  // namespace
