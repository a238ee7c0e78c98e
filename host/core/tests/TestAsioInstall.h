#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/drivers/tests/TestAsioDriverControl.h"

namespace Testing {

// Installs the test ASIO driver (built by the drivers' tests) as the system's only ASIO driver,
// "Test ASIO", configured before the host opens it; removes it again at the end.
class TestAsioInstall {
 public:
  explicit TestAsioInstall(const TestAsio::Config& config = TestAsio::Config());
  ~TestAsioInstall();
  TestAsioInstall(const TestAsioInstall&) = delete;
  TestAsioInstall& operator=(const TestAsioInstall&) = delete;

  // Sets the behaviour of the next driver the host opens and clears the records.
  void Configure(const TestAsio::Config& config) { configure_(&config); }
  // Runs blocks on the calling thread, as the driver's callback thread would; answers the count run.
  long RunBlocks(long count) { return runBlocks_(count); }
  long BlockCount() { return blockCount_(); }
  std::string Calls();
  // The samples the host wrote to an output channel so far.
  std::vector<long> Output(long channel);

 private:
  HMODULE module_;
  TestAsio::ConfigureFunction configure_;
  TestAsio::CallLogFunction callLog_;
  TestAsio::OutputFunction output_;
  TestAsio::RunBlocksFunction runBlocks_;
  TestAsio::CounterFunction blockCount_;
};

}  // namespace Testing
