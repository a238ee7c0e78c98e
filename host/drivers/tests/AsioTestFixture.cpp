#include "host/drivers/tests/AsioTestFixture.h"

#include "TestPaths.h"

TestAsio::Controls* AsioTestFixture::controls = nullptr;
TestAsio::RunBlocksFunction AsioTestFixture::runBlocks = nullptr;
TestAsio::SendMessageFunction AsioTestFixture::sendMessage = nullptr;
TestAsio::ReportRateFunction AsioTestFixture::reportRate = nullptr;
TestAsio::CounterFunction AsioTestFixture::blockCount = nullptr;
TestAsio::CounterFunction AsioTestFixture::outputReadyCount = nullptr;
TestAsio::CounterFunction AsioTestFixture::noiseAtStart = nullptr;

void AsioTestFixture::SetUpTestSuite() {
  controls = new TestAsio::Controls;
  runBlocks = controls->runBlocks;
  sendMessage = controls->sendMessage;
  reportRate = controls->reportRate;
  blockCount = controls->blockCount;
  outputReadyCount = controls->outputReadyCount;
  noiseAtStart = controls->noiseAtStart;
  for (const char* classId : {TestAsio::ClassId, TestAsio::SecondClassId, TestAsio::RefusedClassId}) {
    TestAsio::RegisterServer(classId, TestAsio::DriverPath());
  }
  TestAsio::RegisterServer(missingClassId, Testing::binaryFolder() + "no_such_driver.dll");
}

void AsioTestFixture::TearDownTestSuite() {
  for (const char* classId :
       {TestAsio::ClassId, TestAsio::SecondClassId, TestAsio::RefusedClassId, missingClassId}) {
    TestAsio::UnregisterServer(classId);
  }
  TestAsio::RemoveDrivers();
  delete controls;
  controls = nullptr;
}

void AsioTestFixture::SetUp() {
  TestAsio::RemoveDrivers();
  TestAsio::InstallDriver("Test ASIO", TestAsio::ClassId, "Test ASIO");
}

void AsioTestFixture::TearDown() {
  driver.reset();
  TestAsio::RemoveDrivers();
}

void AsioTestFixture::Configure(const TestAsio::Config& config) {
  driver.reset();
  controls->configure(&config);
  handler.Reset();
  driver = std::make_unique<Ombix::Kelvane::ASIODriver>(nullptr, &handler);
  handler.driver = driver.get();
  handler.inputCount = config.inputs;
  handler.outputCount = config.outputs;
}

void AsioTestFixture::OpenAndActivate() {
  ASSERT_TRUE(driver->OpenDevice(0));
  for (int i = 0; i < driver->ChannelCount(true); ++i) driver->SetChannelActive(true, i, true);
  for (int i = 0; i < driver->ChannelCount(false); ++i) driver->SetChannelActive(false, i, true);
}

std::string AsioTestFixture::Calls() {
  return controls->Calls();
}

std::vector<long> AsioTestFixture::Output(long channel) {
  return controls->Output(channel);
}
