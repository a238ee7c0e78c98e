#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "host/core/Engine.h"
#include "host/core/PluginStatus.h"
#include "host/core/audio/AudioEngine.h"
#include "host/core/audio/AudioLink.h"
#include "host/core/audio/AudioPlugin.h"
#include "host/core/audio/ChannelStrip.h"
#include "host/core/audio/SharedBuffers.h"
#include "host/hosting/PluginFactory.h"

namespace Ombix::Kelvane {
namespace {

// A plain node that counts its block-size calls.
class TestLink : public AudioLink {
 public:
  TestLink(AudioEngine* engine, int inputs, int outputs) : AudioLink(engine, nullptr) {
    SetInputCount(inputs);
    SetOutputCount(outputs);
  }
  void OnBlockSize() override { ++blockSizes; }
  int blockSizes = 0;
};

// An engine with its strip standing for a stereo driver whose buffers are the test's own.
class AudioGraphTest : public ::testing::Test {
 protected:
  AudioGraphTest() : engine(nullptr, "Ombix Labs", "Quillam", 900), audio(*engine.GetAudioEngine()) {
    audio.Init();
    strip = audio.Strip();
    strip->SetInputCount(2);
    strip->SetOutputCount(2);
    for (int i = 0; i < 2; ++i) {
      driverIn[i].assign(256, 0.0f);
      driverOut[i].assign(256, 0.0f);
      strip->SetInput(i, driverIn[i].data());
      strip->SetOutput(i, driverOut[i].data());
    }
  }

  TestLink* Add(int inputs, int outputs) {
    links.push_back(std::make_unique<TestLink>(&audio, inputs, outputs));
    AudioLink::LinkAfter(links.back().get(), strip->Predecessor());
    return links.back().get();
  }

  Engine engine;
  AudioEngine& audio;
  ChannelStrip* strip = nullptr;
  std::vector<float> driverIn[2];
  std::vector<float> driverOut[2];
  std::vector<std::unique_ptr<TestLink>> links;
};

struct RingCase {
  int nodes;
  std::vector<std::pair<int, int>> states;  // input and output state of each node in ring order
};

TEST_F(AudioGraphTest, EachNodeOfTheRingChoosesItsBufferStates) {
  const RingCase cases[] = {
      {1, {{AudioLink::kDriver, AudioLink::kDriver}}},
      {2, {{AudioLink::kDriver, 0}, {0, AudioLink::kDriver}}},
      {3, {{AudioLink::kDriver, 0}, {0, 0}, {0, AudioLink::kDriver}}},
  };
  for (const RingCase& c : cases) {
    links.clear();
    for (int i = 0; i < c.nodes; ++i) Add(2, 2);
    for (int i = 0; i < c.nodes; ++i) {
      EXPECT_EQ(links[i]->InputState(), c.states[i].first) << c.nodes << " nodes, node " << i;
      EXPECT_EQ(links[i]->OutputState(), c.states[i].second) << c.nodes << " nodes, node " << i;
    }
    // The first reads the driver's inputs, the last writes its outputs.
    EXPECT_EQ(links.front()->GetInput(1), driverIn[1].data());
    EXPECT_EQ(links.back()->Outputs()[1], driverOut[1].data());
  }
}

TEST_F(AudioGraphTest, NeighboursShareTheStackBufferBetweenThem) {
  TestLink* first = Add(2, 2);
  EXPECT_EQ(first->Outputs()[0], driverOut[0].data());
  TestLink* second = Add(2, 2);
  EXPECT_EQ(first->Outputs()[0], strip->Buffer(0, 0)) << "the first left the driver's outputs";
  EXPECT_EQ(second->GetInput(0), strip->Buffer(0, 0));
  EXPECT_EQ(second->Outputs()[0], driverOut[0].data());
  EXPECT_NE(strip->Buffer(0, 0), nullptr);
}

TEST_F(AudioGraphTest, ChannelsBeyondWhatTheNeighbourHasReadSilenceAndWriteScratch) {
  TestLink* node = Add(4, 4);
  EXPECT_EQ(node->GetInput(1), driverIn[1].data());
  EXPECT_EQ(node->GetInput(2), SilenceBuffer());
  EXPECT_EQ(node->GetInput(3), SilenceBuffer());
  EXPECT_EQ(node->Outputs()[3], ScratchBuffer(3));
  EXPECT_EQ(node->GetOutput(3), nullptr) << "scratch is never passed on";
  EXPECT_EQ(node->GetInput(4), nullptr);
}

TEST_F(AudioGraphTest, NodeWithMoreInputsThanItsPredecessorHasOutputsReadsSilenceOnTheRest) {
  Add(2, 1);
  TestLink* second = Add(3, 2);
  EXPECT_EQ(second->GetInput(0), strip->Buffer(0, 0));
  EXPECT_EQ(second->GetInput(1), SilenceBuffer());
  EXPECT_EQ(second->GetInput(2), SilenceBuffer());
}

TEST_F(AudioGraphTest, NewBlockSizeLeavesNoNodeOnAFreedBuffer) {
  TestLink* first = Add(3, 2);
  TestLink* second = Add(2, 2);
  audio.OnBufferSizeChanged(512);
  EXPECT_EQ(SharedBufferSize(), 512);
  EXPECT_EQ(first->blockSizes, 1);
  EXPECT_EQ(first->Outputs()[1], strip->Buffer(1, 0));
  EXPECT_EQ(second->GetInput(1), strip->Buffer(1, 0));
  EXPECT_EQ(first->GetInput(2), SilenceBuffer());
  // No device is open: the driver's buffers are gone, the ends read silence and write scratch.
  EXPECT_EQ(first->GetInput(0), SilenceBuffer());
  EXPECT_EQ(second->Outputs()[0], ScratchBuffer(0));
}

TEST_F(AudioGraphTest, RemovingTheLastNodeGivesTheDriverOutputsBackToThePreviousOne) {
  TestLink* first = Add(2, 2);
  Add(2, 2);
  links.back()->Unlink();
  EXPECT_EQ(first->OutputState(), AudioLink::kDriver);
  EXPECT_EQ(first->Outputs()[0], driverOut[0].data());
  EXPECT_EQ(links.back()->InputState(), AudioLink::kNotLinked);
}

TEST_F(AudioGraphTest, StatusIsPostedOnlyWhenItChanges) {
  int pending = 0;
  engine.EventsPending.connect([&] { ++pending; });
  PluginFactory& factory = *engine.Factory();
  auto plugin = std::make_unique<AudioPlugin>(&factory, &audio, &engine);
  plugin->SetStatus(PluginLoading);
  plugin->SetStatus(PluginLoading);
  EXPECT_EQ(pending, 1);
  plugin->SetStatus(PluginActive);
  EXPECT_EQ(pending, 2);
  EXPECT_EQ(plugin->Status(), PluginActive);
}

TEST(SharedBuffers, SameSizeKeepsThemAndZeroFreesThem) {
  ResizeSharedBuffers(64);
  float* silence = SilenceBuffer();
  float* scratch = ScratchBuffer(17);
  ASSERT_NE(silence, nullptr);
  EXPECT_EQ(scratch, ScratchBuffer(1));
  EXPECT_TRUE(std::all_of(silence, silence + 64, [](float s) { return s == 0.0f; }));
  ResizeSharedBuffers(64);
  EXPECT_EQ(SilenceBuffer(), silence);
  EXPECT_EQ(ScratchBuffer(1), scratch);
  ResizeSharedBuffers(0);
  EXPECT_EQ(SilenceBuffer(), nullptr);
  EXPECT_EQ(PreviousSilenceBuffer(), silence);
  EXPECT_EQ(SharedBufferSize(), 0);
}

}  // namespace
}  // namespace Ombix::Kelvane
