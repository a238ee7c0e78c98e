#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RecordingHost.h"

// Runs the real zintara3.dll from a private copy in a fresh folder, so that its settings file
// lives there and no test sees another's.
class ZintaraFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { host.reset(); }

  // Starts (again) a host on the copied plug-in.
  void openPlugin();
  // The bytes of the settings file beside the copied plug-in; empty when there is none.
  std::vector<unsigned char> settingsFile() const;
  void writeSettingsFile(const std::vector<unsigned char>& bytes) const;

  std::string folder;
  std::string pluginPath;
  std::unique_ptr<RecordingHost> host;
};
