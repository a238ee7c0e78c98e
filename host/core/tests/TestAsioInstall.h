#pragma once

#include <string>
#include <vector>

#include "host/drivers/tests/TestAsioControls.h"

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
  void Configure(const TestAsio::Config& config) { controls_.configure(&config); }
  // Runs blocks on the calling thread, as the driver's callback thread would; answers the count run.
  long RunBlocks(long count) { return controls_.runBlocks(count); }
  long BlockCount() { return controls_.blockCount(); }
  long OutputReadyCount() { return controls_.outputReadyCount(); }
  std::string Calls() { return controls_.Calls(); }
  // The samples the host wrote to an output channel so far.
  std::vector<long> Output(long channel) { return controls_.Output(channel); }
  // Calls the host's rate-change callback on the calling thread.
  void ReportRate(double rate) { controls_.reportRate(rate); }
  // Holds the host inside its next block (in the block's outputReady) until released.
  void HoldBlocks(bool hold) { controls_.holdBlocks(hold ? 1 : 0); }
  void AwaitHeldBlock() { controls_.awaitHeldBlock(); }
  // Deferred blocks whose outputs the host handed over while a stop was under way.
  long StopsDuringBlock() { return controls_.stopsDuringBlock(); }

 private:
  TestAsio::Controls controls_;
};

}  // namespace Testing
