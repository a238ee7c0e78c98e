#pragma once

// The published ASIO driver interface, declared once for the whole host: the COM interface that every
// ASIO driver implements, its records, sample types, error codes and message selectors. The layout is
// the drivers' binary contract; the static_asserts below pin it for Win64 (long is 32 bits there).

#include <objbase.h>

namespace Ombix::Kelvane {

using ASIOError = long;
using ASIOBool = long;
using ASIOSampleRate = double;

// Error codes answered by the driver, and the two the host's driver list answers itself.
namespace AsioResult {
constexpr ASIOError Ok = 0;
constexpr ASIOError Success = 0x3F4847A0;
constexpr ASIOError NotPresent = -1000;
constexpr ASIOError HardwareMalfunction = -999;
constexpr ASIOError InvalidParameter = -998;
constexpr ASIOError InvalidMode = -997;
constexpr ASIOError SampleClockNotAdvancing = -996;
constexpr ASIOError NoClock = -995;
constexpr ASIOError NoMemory = -994;
constexpr ASIOError DriverAlreadyOpen = -5002;
constexpr ASIOError NoSuchDriver = -5003;
}  // namespace AsioResult

// Sample types (device buffers). The host converts only Int16LSB and Int32LSB.
namespace AsioSampleType {
constexpr long Int16MSB = 0;
constexpr long Int24MSB = 1;
constexpr long Int32MSB = 2;
constexpr long Float32MSB = 3;
constexpr long Float64MSB = 4;
constexpr long Int32MSB16 = 8;
constexpr long Int32MSB18 = 9;
constexpr long Int32MSB20 = 10;
constexpr long Int32MSB24 = 11;
constexpr long Int16LSB = 16;
constexpr long Int24LSB = 17;
constexpr long Int32LSB = 18;
constexpr long Float32LSB = 19;
constexpr long Float64LSB = 20;
constexpr long Int32LSB16 = 24;
constexpr long Int32LSB18 = 25;
constexpr long Int32LSB20 = 26;
constexpr long Int32LSB24 = 27;
constexpr long DSDInt8LSB1 = 32;
constexpr long DSDInt8MSB1 = 33;
constexpr long DSDInt8NER8 = 40;
}  // namespace AsioSampleType

// Selectors of the host's message callback.
namespace AsioMessageSelector {
constexpr long SelectorSupported = 1;
constexpr long EngineVersion = 2;
constexpr long ResetRequest = 3;
constexpr long BufferSizeChange = 4;
constexpr long ResyncRequest = 5;
constexpr long LatenciesChanged = 6;
constexpr long SupportsTimeInfo = 7;
constexpr long SupportsTimeCode = 8;
constexpr long Overload = 15;
}  // namespace AsioMessageSelector

// A 64-bit count split in two 32-bit halves, high first.
struct ASIOSamples {
  unsigned long hi;
  unsigned long lo;
};
using ASIOTimeStamp = ASIOSamples;

struct ASIOClockSource {
  long index;
  long associatedChannel;
  long associatedGroup;
  ASIOBool isCurrentSource;
  char name[32];
};

struct ASIOChannelInfo {
  long channel;
  ASIOBool isInput;
  ASIOBool isActive;
  long channelGroup;
  long type;
  char name[32];
};

struct ASIOBufferInfo {
  ASIOBool isInput;
  long channelNum;
  void* buffers[2];
};

struct ASIOCallbacks {
  void (*bufferSwitch)(long doubleBufferIndex, ASIOBool directProcess);
  void (*sampleRateDidChange)(ASIOSampleRate rate);
  long (*asioMessage)(long selector, long value, void* message, double* opt);
  // The time record is opaque to the host, which answers null.
  void* (*bufferSwitchTimeInfo)(void* timeInfo, long doubleBufferIndex, ASIOBool directProcess);
};

// The host's own record of the loaded driver (never handed to the driver).
struct ASIODriverInfo {
  long asioVersion;
  long driverVersion;
  char name[32];
  char errorMessage[124];
  void* sysRef;
};

// The driver object, created with its CLSID as both class and interface id.
struct IASIO : public IUnknown {
  virtual ASIOBool init(void* sysHandle) = 0;
  virtual void getDriverName(char* name) = 0;
  virtual long getDriverVersion() = 0;
  virtual void getErrorMessage(char* message) = 0;
  virtual ASIOError start() = 0;
  virtual ASIOError stop() = 0;
  virtual ASIOError getChannels(long* inputs, long* outputs) = 0;
  virtual ASIOError getLatencies(long* inputLatency, long* outputLatency) = 0;
  virtual ASIOError getBufferSize(long* minimum, long* maximum, long* preferred, long* granularity) = 0;
  virtual ASIOError canSampleRate(ASIOSampleRate rate) = 0;
  virtual ASIOError getSampleRate(ASIOSampleRate* rate) = 0;
  virtual ASIOError setSampleRate(ASIOSampleRate rate) = 0;
  virtual ASIOError getClockSources(ASIOClockSource* clocks, long* count) = 0;
  virtual ASIOError setClockSource(long reference) = 0;
  virtual ASIOError getSamplePosition(ASIOSamples* position, ASIOTimeStamp* time) = 0;
  virtual ASIOError getChannelInfo(ASIOChannelInfo* info) = 0;
  virtual ASIOError createBuffers(ASIOBufferInfo* infos, long count, long size, ASIOCallbacks* callbacks) = 0;
  virtual ASIOError disposeBuffers() = 0;
  virtual ASIOError controlPanel() = 0;
  virtual ASIOError future(long selector, void* options) = 0;
  virtual ASIOError outputReady() = 0;
};

static_assert(sizeof(long) == 4, "the driver interface uses 32-bit longs");
static_assert(sizeof(ASIOSamples) == 8);
static_assert(sizeof(ASIOClockSource) == 48);
static_assert(sizeof(ASIOChannelInfo) == 52);
static_assert(sizeof(ASIOBufferInfo) == 24);
static_assert(sizeof(ASIOCallbacks) == 32);

}  // namespace Ombix::Kelvane
