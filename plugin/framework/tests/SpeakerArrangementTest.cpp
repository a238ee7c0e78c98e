// The speaker-arrangement tools of the extended effect base.
#include "plugin/framework/tests/RecordingEffect.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class SpeakerArrangement : public testing::Test {
 protected:
  void TearDown() override {
    effect.deallocateArrangement(&first);
    effect.deallocateArrangement(&second);
  }

  static VstSpeakerProperties speaker(const char* name, VstInt32 type, float azimuth) {
    VstSpeakerProperties made{};
    std::strncpy(made.name, name, sizeof(made.name) - 1);
    made.type = type;
    made.azimuth = azimuth;
    made.elevation = azimuth + 1;
    made.radius = azimuth + 2;
    made.reserved = azimuth + 3;
    for (std::size_t i = 0; i < sizeof(made.future); ++i) made.future[i] = static_cast<char>(i + type);
    return made;
  }

  static void expectSame(const VstSpeakerProperties& a, const VstSpeakerProperties& b) {
    EXPECT_EQ(std::memcmp(&a, &b, sizeof(a)), 0);
  }

  RecordingEffect effect;
  VstSpeakerArrangement* first = nullptr;
  VstSpeakerArrangement* second = nullptr;
};

TEST_F(SpeakerArrangement, AllocateGivesAZeroedArrangementWithItsChannelCount) {
  ASSERT_TRUE(effect.allocateArrangement(&first, 12));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->numChannels, 12);
  EXPECT_EQ(first->type, 0);
  const VstSpeakerProperties zero{};
  for (VstInt32 i = 0; i < 12; ++i) expectSame(*speakerAt(first, i), zero);
}

TEST_F(SpeakerArrangement, AllocateReplacesAndDeallocateClears) {
  ASSERT_TRUE(effect.allocateArrangement(&first, 2));
  ASSERT_TRUE(effect.allocateArrangement(&first, 0));
  EXPECT_EQ(first->numChannels, 0);
  EXPECT_TRUE(effect.deallocateArrangement(&first));
  EXPECT_EQ(first, nullptr);
  EXPECT_TRUE(effect.deallocateArrangement(&first));  // nothing held: still fine
}

TEST_F(SpeakerArrangement, NegativeChannelCountIsRefused) {
  ASSERT_TRUE(effect.allocateArrangement(&first, 2));
  EXPECT_FALSE(effect.allocateArrangement(&first, -1));
  EXPECT_EQ(first, nullptr);
}

TEST_F(SpeakerArrangement, CopySpeakerCopiesEveryFieldAndCutsTheName) {
  VstSpeakerProperties from = speaker("Left", 1, 0.5f);
  VstSpeakerProperties to{};
  EXPECT_TRUE(effect.copySpeaker(&to, &from));
  expectSame(to, from);

  std::memset(from.name, 'n', sizeof(from.name));  // no terminator
  EXPECT_TRUE(effect.copySpeaker(&to, &from));
  EXPECT_EQ(std::strlen(to.name), 63u);

  EXPECT_FALSE(effect.copySpeaker(nullptr, &from));
  EXPECT_FALSE(effect.copySpeaker(&to, nullptr));
}

TEST_F(SpeakerArrangement, MatchCopiesTypeAndEverySpeaker) {
  ASSERT_TRUE(effect.allocateArrangement(&first, 10));
  first->type = 5;
  for (VstInt32 i = 0; i < 10; ++i) *speakerAt(first, i) = speaker("S", i, static_cast<float>(i));
  ASSERT_TRUE(effect.allocateArrangement(&second, 1));
  EXPECT_TRUE(effect.matchArrangement(&second, first));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->type, 5);
  EXPECT_EQ(second->numChannels, 10);
  for (VstInt32 i = 0; i < 10; ++i) expectSame(*speakerAt(second, i), *speakerAt(first, i));
  EXPECT_FALSE(effect.matchArrangement(&second, nullptr));
}

}  // namespace
