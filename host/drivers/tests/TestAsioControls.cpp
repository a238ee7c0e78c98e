#include "host/drivers/tests/TestAsioControls.h"

#include <gtest/gtest.h>

#include "TestPaths.h"

namespace TestAsio {

namespace {

const char* const driversKey = "SOFTWARE\\ASIO";

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

std::string DriverPath() {
  return Testing::binaryFolder() + "test_asio_driver.dll";
}

void RegisterServer(const std::string& classId, const std::string& path) {
  const std::string server = "CLSID\\" + classId + "\\InprocServer32";
  SetText(HKEY_CLASSES_ROOT, server, nullptr, path);
  SetText(HKEY_CLASSES_ROOT, server, "ThreadingModel", "Both");
}

void UnregisterServer(const std::string& classId) {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + classId).c_str());
}

std::string KeyName(const std::string& name) {
  return name + " " + TreeTag;
}

void InstallDriver(const std::string& name, const std::string& classId, const std::string& description) {
  const std::string path = std::string(driversKey) + "\\" + KeyName(name);
  SetText(HKEY_LOCAL_MACHINE, path, "CLSID", classId);
  if (!description.empty()) SetText(HKEY_LOCAL_MACHINE, path, "Description", description);
}

void RemoveDrivers() {
  HKEY drivers;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, driversKey, 0, KEY_READ | KEY_WRITE, &drivers) != ERROR_SUCCESS)
    return;
  const std::string tag = std::string(" ") + TreeTag;
  std::vector<std::string> ours;
  char name[MAX_PATH];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(drivers, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::string key(name, length);
    if (key.size() >= tag.size() && key.compare(key.size() - tag.size(), tag.size(), tag) == 0)
      ours.push_back(key);
  }
  for (const std::string& key : ours) RegDeleteTreeA(drivers, key.c_str());
  RegCloseKey(drivers);
}

Controls::Controls()
    : module(LoadLibraryA(DriverPath().c_str())),
      configure(Resolve<ConfigureFunction>(module, "TestAsioConfigure")),
      callLog(Resolve<CallLogFunction>(module, "TestAsioCallLog")),
      output(Resolve<OutputFunction>(module, "TestAsioOutput")),
      runBlocks(Resolve<RunBlocksFunction>(module, "TestAsioRunBlocks")),
      sendMessage(Resolve<SendMessageFunction>(module, "TestAsioSendMessage")),
      reportRate(Resolve<ReportRateFunction>(module, "TestAsioReportRate")),
      blockCount(Resolve<CounterFunction>(module, "TestAsioBlockCount")),
      outputReadyCount(Resolve<CounterFunction>(module, "TestAsioOutputReadyCount")),
      noiseAtStart(Resolve<CounterFunction>(module, "TestAsioNoiseAtStart")),
      stopsDuringBlock(Resolve<CounterFunction>(module, "TestAsioStopsDuringBlock")),
      holdBlocks(Resolve<HoldBlocksFunction>(module, "TestAsioHoldBlocks")),
      awaitHeldBlock(Resolve<AwaitHeldBlockFunction>(module, "TestAsioAwaitHeldBlock")) {
  EXPECT_NE(module, nullptr) << DriverPath();
}

std::string Controls::Calls() const {
  std::string text(static_cast<std::size_t>(callLog(nullptr, 0)) + 1, '\0');
  callLog(text.data(), static_cast<long>(text.size()));
  text.pop_back();
  return text;
}

std::vector<long> Controls::Output(long channel) const {
  std::vector<long> samples(static_cast<std::size_t>(output(channel, nullptr, 0)));
  output(channel, samples.data(), static_cast<long>(samples.size()));
  return samples;
}

}  // namespace TestAsio
