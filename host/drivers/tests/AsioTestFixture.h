#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host/drivers/ASIODriver.h"
#include "host/drivers/tests/LogCapture.h"
#include "host/drivers/tests/StubAudioHandler.h"
#include "host/drivers/tests/TestAsioControls.h"

// Installs the test ASIO driver in the registry as the system's only ASIO driver, loads its control
// functions and removes every trace again afterwards.
class AsioTestFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // A class id whose registered server file does not exist.
  static constexpr char missingClassId[] = "{6B1B7B9E-3C5A-4F0E-9E61-" TEST_ASIO_TREE_TAG "99}";
  // Configures the test driver and makes the host's ASIODriver (which reads the list).
  void Configure(const TestAsio::Config& config);
  // Opens device 0 and activates every channel.
  void OpenAndActivate();

  std::string Calls();
  std::vector<long> Output(long channel);

  static TestAsio::RunBlocksFunction runBlocks;
  static TestAsio::SendMessageFunction sendMessage;
  static TestAsio::ReportRateFunction reportRate;
  static TestAsio::CounterFunction blockCount;
  static TestAsio::CounterFunction outputReadyCount;
  static TestAsio::CounterFunction noiseAtStart;

  LogCapture log;
  StubAudioHandler handler;
  std::unique_ptr<Ombix::Kelvane::ASIODriver> driver;

 private:
  static TestAsio::Controls* controls;
};
