#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "plugin/engine/OmAudio.h"

// An effect linked into the test program on a host callback that records its opcodes. The effect
// finds its folder through the module handle, which points at a plug-in copy in a private folder,
// so its settings file lives there.
class LocalEffectFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override { effect.reset(); }

  // How often the effect called the host with opcode since the last SetUp.
  static int hostCalls(VstInt32 opcode);

  static std::string folder;
  std::unique_ptr<OmAudio> effect;
};
