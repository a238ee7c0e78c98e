#pragma once

// The test ASIO driver's control surface, shared by the driver DLL and the tests: the behaviour a
// test sets before the host opens the driver, and the functions the DLL exports to set it, to run
// blocks, to send the host messages and to read back every call and output sample it received.

namespace TestAsio {

// Ten hexadecimal digits of this build tree (set by the build), in every class id and registry key
// of the test driver: two trees' tests in one Wine registry never meet.
constexpr char TreeTag[] = TEST_ASIO_TREE_TAG;
// The test driver's class (and interface) id.
constexpr char ClassId[] = "{6B1B7B9E-3C5A-4F0E-9E61-" TEST_ASIO_TREE_TAG "11}";
// A second driver class served by the same DLL (it behaves the same; the call log tells which).
constexpr char SecondClassId[] = "{6B1B7B9E-3C5A-4F0E-9E61-" TEST_ASIO_TREE_TAG "13}";
// An id registered to the same DLL, which the DLL refuses to create: a failing COM creation.
constexpr char RefusedClassId[] = "{6B1B7B9E-3C5A-4F0E-9E61-" TEST_ASIO_TREE_TAG "12}";

struct Config {
  long sampleType = 18;
  long inputs = 2;
  long outputs = 2;
  long minimumSize = 64;
  long maximumSize = 2048;
  long preferredSize = 256;
  long granularity = -1;
  double acceptedRates[4] = {44100.0, 48000.0, 0.0, 0.0};
  double initialRate = 44100.0;
  // When not 0, getSampleRate answers this rate whatever was set (and canSampleRate refuses it
  // unless it is among the accepted rates): a device that reports a rate it then refuses.
  double stuckRate = 0.0;
  long outputReadySupported = 1;
  long initSucceeds = 1;
  long createBuffersFails = 0;
  long startFails = 0;
  // Blocks run from the driver's own thread every timerPeriodMs once started; stop() waits for it.
  long timerThread = 0;
  long timerPeriodMs = 2;
  // Blocks are delivered with bufferSwitchTimeInfo instead of bufferSwitch.
  long useTimeInfo = 0;
  long directProcess = 1;
  // controlPanel() sends the host a reset request and records its answer.
  long resetFromControlPanel = 0;
  // Raw input samples: frame i of every input block holds inputPattern[i % 4].
  long inputPattern[4] = {0, 0, 0, 0};
  // When not 0, the thread that runs the blocks sends the host a reset request once, after this
  // many blocks.
  long resetAfterBlocks = 0;
};

using ConfigureFunction = void (*)(const Config*);
// Copies the calls received so far, one per line, into the buffer; answers the full length.
using CallLogFunction = long (*)(char* buffer, long size);
// Copies the samples output channel received so far (decoded to integers); answers their count.
using OutputFunction = long (*)(long channel, long* samples, long maximum);
// Runs blocks on the calling thread; answers the number run (0 while not started).
using RunBlocksFunction = long (*)(long count);
// Calls the host's message callback; answers its answer (-1 without callbacks).
using SendMessageFunction = long (*)(long selector, long value);
// Calls the host's rate-change callback.
using ReportRateFunction = void (*)(double rate);
// Blocks run and outputReady calls received since the last configuration; bytes of the output
// buffers that were not silent when start() came; blocks that a stop overlapped: outputReady calls
// from outside the block callback (a deferred block handed over) that came between a stop() and the
// disposal of the buffers, or during which a stop() came.
using CounterFunction = long (*)();
// While holding is on (1), the next outputReady of a running device waits until it is turned off.
using HoldBlocksFunction = void (*)(long hold);
// Waits until an outputReady is held.
using AwaitHeldBlockFunction = void (*)();

}  // namespace TestAsio
