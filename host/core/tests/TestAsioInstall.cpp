#include "host/core/tests/TestAsioInstall.h"

#include <gtest/gtest.h>

#include "TestPaths.h"

namespace Testing {

namespace {

const char* const driversKey = "SOFTWARE\\ASIO";

void SetText(HKEY root, const std::string& path, const char* name, const std::string& value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

template <typename Function>
Function Resolve(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

TestAsioInstall::TestAsioInstall(const TestAsio::Config& config) {
  const std::string path = binaryFolder() + "test_asio_driver.dll";
  // The host creates the driver through COM from this same file, so both share its state.
  module_ = LoadLibraryA(path.c_str());
  EXPECT_NE(module_, nullptr);
  configure_ = Resolve<TestAsio::ConfigureFunction>(module_, "TestAsioConfigure");
  callLog_ = Resolve<TestAsio::CallLogFunction>(module_, "TestAsioCallLog");
  output_ = Resolve<TestAsio::OutputFunction>(module_, "TestAsioOutput");
  runBlocks_ = Resolve<TestAsio::RunBlocksFunction>(module_, "TestAsioRunBlocks");
  blockCount_ = Resolve<TestAsio::CounterFunction>(module_, "TestAsioBlockCount");
  const std::string server = std::string("CLSID\\") + TestAsio::ClassId + "\\InprocServer32";
  SetText(HKEY_CLASSES_ROOT, server, nullptr, path);
  SetText(HKEY_CLASSES_ROOT, server, "ThreadingModel", "Both");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, driversKey);
  SetText(HKEY_LOCAL_MACHINE, std::string(driversKey) + "\\Test ASIO", "CLSID", TestAsio::ClassId);
  Configure(config);
}

TestAsioInstall::~TestAsioInstall() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, driversKey);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + TestAsio::ClassId).c_str());
}

std::string TestAsioInstall::Calls() {
  std::string text(static_cast<std::size_t>(callLog_(nullptr, 0)) + 1, '\0');
  callLog_(text.data(), static_cast<long>(text.size()));
  text.pop_back();
  return text;
}

std::vector<long> TestAsioInstall::Output(long channel) {
  std::vector<long> samples(static_cast<std::size_t>(output_(channel, nullptr, 0)));
  output_(channel, samples.data(), static_cast<long>(samples.size()));
  return samples;
}

}  // namespace Testing
