#pragma once

#include <functional>
#include <vector>

namespace Ombix::Kelvane {
class IPlugin;
class Logic;
}  // namespace Ombix::Kelvane

namespace Testing {

// What the cycles change between, for the driver that plays.
struct CycleSettings {
  std::vector<int> sizes;
  std::vector<double> rates;
  // Every n-th cycle waits until a block has run before it stops the driver; the others stop at once.
  int waitForABlockEvery = 1;
  // Called before every change of the device, with the index of the device about to be opened.
  std::function<void(int device)> beforeDeviceChange;
};

// Starts and stops the Logic's selected driver count times, as a user would through the settings
// model, the GUI thread's share running after every step. Every cycle injects a note (which takes the
// engine lock while the driver plays) and then ends with one of: a stop with the engine lock held a
// moment before it (so that a block may wait for it), a new block size, a new set of output
// channels, now and then a new sample rate or another device. A watchdog ends the process when a
// cycle hangs. Answers the seconds the cycles took.
double RunStartStopCycles(Ombix::Kelvane::Logic& logic, Ombix::Kelvane::IPlugin& plugin,
                          const CycleSettings& settings, int count);

// The samples processed so far by the Logic's engine (it advances by one block per processed block).
long long ProcessedFrames(Ombix::Kelvane::Logic& logic);

// Waits (at most seconds) until the engine has processed blocks since frames; false when it has not.
bool AwaitBlocks(Ombix::Kelvane::Logic& logic, long long frames, int blocks, double seconds);

}  // namespace Testing
