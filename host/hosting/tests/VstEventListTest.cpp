#include <gtest/gtest.h>

#include <vector>

#include "host/hosting/VstEventList.h"

namespace Ombix::Kelvane {
namespace {

PackedMidiEvent Word(int status, int first, int second, std::uint32_t microseconds = 0) {
  return static_cast<PackedMidiEvent>(status) | static_cast<PackedMidiEvent>(first) << 8 |
         static_cast<PackedMidiEvent>(second) << 16 | static_cast<PackedMidiEvent>(microseconds) << 32;
}

const VstMidiEvent& Midi(const VstEvents* list, int i) {
  return *reinterpret_cast<VstMidiEvent*>(EventSlots(list)[i]);
}

TEST(VstEventList, ConvertsWordsIntoPresetMidiEvents) {
  VstEventList list;
  const std::vector<PackedMidiEvent> words = {Word(0x90, 60, 100), Word(0x80, 60, 0), Word(0xB0, 7, 127)};
  const VstEvents* events = list.Build(3, words.data(), 44.1, 256);
  ASSERT_EQ(events->numEvents, 3);
  EXPECT_EQ(events->reserved, 0);
  const VstMidiEvent& first = Midi(events, 0);
  EXPECT_EQ(first.type, kVstMidiType);
  EXPECT_EQ(first.byteSize, 32);
  EXPECT_EQ(first.flags, kVstMidiEventIsRealtime);
  EXPECT_EQ(first.deltaFrames, 0);
  EXPECT_EQ(first.noteLength, 0);
  EXPECT_EQ(first.noteOffset, 0);
  EXPECT_EQ(first.midiData[3], 0);
  EXPECT_EQ(first.detune, 0);
  EXPECT_EQ(first.noteOffVelocity, 0);
  EXPECT_EQ(static_cast<unsigned char>(first.midiData[0]), 0x90);
  EXPECT_EQ(first.midiData[1], 60);
  EXPECT_EQ(first.midiData[2], 100);
  EXPECT_EQ(static_cast<unsigned char>(Midi(events, 2).midiData[0]), 0xB0);
  EXPECT_EQ(Midi(events, 2).midiData[2], 127);
}

TEST(VstEventList, AZeroWordEndsTheBatch) {
  VstEventList list;
  const std::vector<PackedMidiEvent> words = {Word(0x90, 60, 100), 0, Word(0x80, 60, 0)};
  EXPECT_EQ(list.Build(3, words.data(), 44.1, 256)->numEvents, 1);
  EXPECT_EQ(list.Build(1, words.data() + 1, 44.1, 256)->numEvents, 0);
}

struct DeltaCase {
  std::uint32_t microseconds;
  double rateKHz;
  int blockSize;
  int deltaFrames;
};

class VstEventListDelta : public testing::TestWithParam<DeltaCase> {};

TEST_P(VstEventListDelta, StampBecomesDeltaFramesClampedToTheBlock) {
  const DeltaCase& c = GetParam();
  VstEventList list;
  const PackedMidiEvent word = Word(0x90, 64, 1, c.microseconds);
  EXPECT_EQ(Midi(list.Build(1, &word, c.rateKHz, c.blockSize), 0).deltaFrames, c.deltaFrames);
}

INSTANTIATE_TEST_SUITE_P(Stamps, VstEventListDelta,
                         testing::Values(DeltaCase{10000, 44.1, 512, 441}, DeltaCase{10000, 44.1, 256, 255},
                                         DeltaCase{0, 44.1, 256, 0}, DeltaCase{5804, 44.1, 256, 255},
                                         DeltaCase{5780, 44.1, 256, 254}, DeltaCase{1000, 48.0, 64, 48},
                                         DeltaCase{0xFFFFFFFF, 192.0, 128, 127}));

TEST(VstEventList, GrowsOnlyForMoreEventsThanEverBefore) {
  VstEventList list;
  EXPECT_EQ(list.Capacity(), 10);
  std::vector<PackedMidiEvent> words(11, Word(0x90, 1, 1));
  const VstEvents* grown = list.Build(11, words.data(), 44.1, 256);
  EXPECT_EQ(list.Capacity(), 11);
  EXPECT_EQ(grown->numEvents, 11);
  const VstEvent* lastEvent = EventSlots(grown)[10];
  const VstEvents* reused = list.Build(2, words.data(), 44.1, 256);
  EXPECT_EQ(reused, grown);
  EXPECT_EQ(reused->numEvents, 2);
  EXPECT_EQ(list.Capacity(), 11);
  EXPECT_EQ(EventSlots(list.Build(11, words.data(), 44.1, 256))[10], lastEvent);
}

}  // namespace
}  // namespace Ombix::Kelvane
