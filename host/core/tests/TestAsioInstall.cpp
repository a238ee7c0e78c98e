#include "host/core/tests/TestAsioInstall.h"

namespace Testing {

TestAsioInstall::TestAsioInstall(const TestAsio::Config& config) {
  TestAsio::RegisterServer(TestAsio::ClassId, TestAsio::DriverPath());
  TestAsio::RemoveDrivers();
  TestAsio::InstallDriver("Test ASIO", TestAsio::ClassId, "Test ASIO");
  Configure(config);
}

TestAsioInstall::~TestAsioInstall() {
  TestAsio::RemoveDrivers();
  TestAsio::UnregisterServer(TestAsio::ClassId);
}

}  // namespace Testing
