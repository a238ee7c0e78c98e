#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/drivers/tests/TestAsioDriverControl.h"

namespace TestAsio {

// The test driver DLL beside the running test.
std::string DriverPath();

// Registers a class id as an in-process server in the file at path, and removes it again.
void RegisterServer(const std::string& classId, const std::string& path);
void UnregisterServer(const std::string& classId);

// The key under HKLM\SOFTWARE\ASIO of this tree's driver called name: name with the tree's tag.
// The host lists a driver that has no description by its key.
std::string KeyName(const std::string& name);
// Lists a driver under KeyName(name) with the class id (and a description when given).
void InstallDriver(const std::string& name, const std::string& classId, const std::string& description = "");
// Removes every ASIO driver this tree listed; other drivers stay.
void RemoveDrivers();

// The test driver's control functions. The host creates the driver through COM from the same file,
// so both share the module's state.
struct Controls {
  Controls();

  // The calls the driver received so far, one per line.
  std::string Calls() const;
  // The samples the host wrote to an output channel so far.
  std::vector<long> Output(long channel) const;

  HMODULE module;
  ConfigureFunction configure;
  CallLogFunction callLog;
  OutputFunction output;
  RunBlocksFunction runBlocks;
  SendMessageFunction sendMessage;
  ReportRateFunction reportRate;
  CounterFunction blockCount;
  CounterFunction outputReadyCount;
  CounterFunction noiseAtStart;
  CounterFunction stopsDuringBlock;
  HoldBlocksFunction holdBlocks;
  AwaitHeldBlockFunction awaitHeldBlock;
};

}  // namespace TestAsio
