#include "host/drivers/tests/AsioTestFixture.h"

#include "TestPaths.h"

namespace {

const char* const driversKey = "SOFTWARE\\ASIO";

std::string DriverPath() {
  return Testing::binaryFolder() + "test_asio_driver.dll";
}

void SetText(HKEY root, const std::string& path, const char* name, const std::string& value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS)
      << path;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

template <typename Function>
Function Resolve(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

HMODULE AsioTestFixture::module = nullptr;
TestAsio::ConfigureFunction AsioTestFixture::configure = nullptr;
TestAsio::CallLogFunction AsioTestFixture::callLog = nullptr;
TestAsio::OutputFunction AsioTestFixture::output = nullptr;
TestAsio::RunBlocksFunction AsioTestFixture::runBlocks = nullptr;
TestAsio::SendMessageFunction AsioTestFixture::sendMessage = nullptr;
TestAsio::ReportRateFunction AsioTestFixture::reportRate = nullptr;
TestAsio::CounterFunction AsioTestFixture::blockCount = nullptr;
TestAsio::CounterFunction AsioTestFixture::outputReadyCount = nullptr;

void AsioTestFixture::SetUpTestSuite() {
  // The host creates the driver through COM from the same file: both share this module's state.
  module = LoadLibraryA(DriverPath().c_str());
  ASSERT_NE(module, nullptr);
  configure = Resolve<TestAsio::ConfigureFunction>(module, "TestAsioConfigure");
  callLog = Resolve<TestAsio::CallLogFunction>(module, "TestAsioCallLog");
  output = Resolve<TestAsio::OutputFunction>(module, "TestAsioOutput");
  runBlocks = Resolve<TestAsio::RunBlocksFunction>(module, "TestAsioRunBlocks");
  sendMessage = Resolve<TestAsio::SendMessageFunction>(module, "TestAsioSendMessage");
  reportRate = Resolve<TestAsio::ReportRateFunction>(module, "TestAsioReportRate");
  blockCount = Resolve<TestAsio::CounterFunction>(module, "TestAsioBlockCount");
  outputReadyCount = Resolve<TestAsio::CounterFunction>(module, "TestAsioOutputReadyCount");
  RegisterServer(TestAsio::ClassId, DriverPath());
  RegisterServer(TestAsio::SecondClassId, DriverPath());
  RegisterServer(TestAsio::RefusedClassId, DriverPath());
  RegisterServer(missingClassId, Testing::binaryFolder() + "no_such_driver.dll");
}

void AsioTestFixture::RegisterServer(const std::string& classId, const std::string& path) {
  const std::string server = "CLSID\\" + classId + "\\InprocServer32";
  SetText(HKEY_CLASSES_ROOT, server, nullptr, path);
  SetText(HKEY_CLASSES_ROOT, server, "ThreadingModel", "Both");
}

void AsioTestFixture::TearDownTestSuite() {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + TestAsio::ClassId).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + TestAsio::SecondClassId).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + TestAsio::RefusedClassId).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + missingClassId).c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, driversKey);
}

void AsioTestFixture::SetUp() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, driversKey);
  Install("Test ASIO", TestAsio::ClassId);
}

void AsioTestFixture::TearDown() {
  driver.reset();
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, driversKey);
}

void AsioTestFixture::Install(const std::string& key, const std::string& classId,
                              const std::string& description) {
  const std::string path = std::string(driversKey) + "\\" + key;
  SetText(HKEY_LOCAL_MACHINE, path, "CLSID", classId);
  if (!description.empty()) SetText(HKEY_LOCAL_MACHINE, path, "Description", description);
}

void AsioTestFixture::Configure(const TestAsio::Config& config) {
  driver.reset();
  configure(&config);
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
  std::string text(static_cast<std::size_t>(callLog(nullptr, 0)) + 1, '\0');
  callLog(text.data(), static_cast<long>(text.size()));
  text.pop_back();
  return text;
}

std::vector<long> AsioTestFixture::Output(long channel) {
  std::vector<long> samples(static_cast<std::size_t>(output(channel, nullptr, 0)));
  output(channel, samples.data(), static_cast<long>(samples.size()));
  return samples;
}
