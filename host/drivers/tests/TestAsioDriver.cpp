// An ASIO driver for the tests: an in-process COM server whose behaviour each test sets through
// TestAsioConfigure and which records every call and every output sample it receives.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "host/drivers/asio/AsioInterface.h"
#include "host/drivers/tests/TestAsioDriverControl.h"

using namespace Ombix::Kelvane;

namespace {

constexpr std::size_t recordLimit = 1 << 20;

class Guard {
 public:
  explicit Guard(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
  ~Guard() { LeaveCriticalSection(&m_section); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  CRITICAL_SECTION& m_section;
};

// Everything a test sets and reads, shared by every driver object of the process.
struct State {
  State() { InitializeCriticalSection(&lock); }
  ~State() { DeleteCriticalSection(&lock); }

  CRITICAL_SECTION lock;
  TestAsio::Config config;
  std::vector<std::string> calls;
  std::vector<std::vector<long>> outputs;
  std::atomic<long> blocks{0};
  std::atomic<long> outputReadyCalls{0};
  std::atomic<long> noiseAtStart{0};
  std::atomic<long> stopsDuringBlock{0};
  // Holding outputReady: on, and whether a call waits.
  std::mutex holdLock;
  std::condition_variable holdChanged;
  bool holding = false;
  bool held = false;
};

State& state() {
  static State instance;
  return instance;
}

TestAsio::Config config() {
  Guard guard(state().lock);
  return state().config;
}

void record(const std::string& call) {
  Guard guard(state().lock);
  if (state().calls.size() < recordLimit) state().calls.push_back(call);
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The published sample sizes, as every driver and host agree on them.
long bytesPerSample(long type) {
  switch (type) {
    case AsioSampleType::Int16MSB:
    case AsioSampleType::Int16LSB:
      return 2;
    case AsioSampleType::Int24MSB:
    case AsioSampleType::Int24LSB:
      return 3;
    case AsioSampleType::Float64MSB:
    case AsioSampleType::Float64LSB:
      return 8;
    default:
      return (type >= 2 && type <= 11) || (type >= 18 && type <= 27) ? 4 : 1;
  }
}

// Little-endian, sign-extended from the sample's first (up to) four bytes.
long decode(long type, const std::uint8_t* sample) {
  const int bytes = static_cast<int>(std::min(bytesPerSample(type), 4L));
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint32_t>(sample[i]) << (8 * i);
  const int unused = 32 - 8 * bytes;
  return static_cast<long>(static_cast<std::int32_t>(value << unused) >> unused);
}

void encode(long type, long value, std::uint8_t* sample) {
  const int bytes = static_cast<int>(bytesPerSample(type));
  for (int i = 0; i < bytes; ++i) sample[i] = i < 4 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0;
}

CLSID parse(const char* text) {
  CLSID id{};
  wchar_t wide[64];
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
  CLSIDFromString(wide, &id);
  return id;
}

std::string text(REFCLSID id) {
  wchar_t wide[64];
  char narrow[64];
  StringFromGUID2(id, wide, 64);
  WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

class TestDriver;
std::atomic<TestDriver*> current{nullptr};

// Set while this thread calls the host's block callback.
thread_local bool inCallback = false;

class TestDriver final : public IASIO {
 public:
  TestDriver() : m_config(config()), m_rate(m_config.initialRate) { current = this; }
  virtual ~TestDriver() {
    halt();
    release();
    TestDriver* self = this;
    current.compare_exchange_strong(self, nullptr);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || isServed(id)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
  }

  ASIOBool init(void*) override {
    record("init");
    return m_config.initSucceeds;
  }
  void getDriverName(char* name) override {
    record("getDriverName");
    std::strcpy(name, "Test ASIO");
  }
  long getDriverVersion() override {
    record("getDriverVersion");
    return 7;
  }
  void getErrorMessage(char* message) override {
    record("getErrorMessage");
    std::strcpy(message, m_config.initSucceeds ? "" : "Test device unplugged");
  }
  ASIOError start() override {
    record("start");
    if (m_config.startFails || m_infos.empty()) return AsioResult::HardwareMalfunction;
    // Both halves of every output may be played before the host has written one.
    for (std::size_t i = 0; i < m_infos.size(); ++i) {
      if (m_infos[i].isInput) continue;
      for (std::size_t half = 0; half < 2; ++half) {
        const auto& memory = m_memory[i * 2 + half];
        state().noiseAtStart += static_cast<long>(
            std::count_if(memory.begin(), memory.end(), [](std::uint8_t byte) { return byte != 0; }));
      }
    }
    m_half = 0;
    m_running = true;
    if (m_config.timerThread) {
      m_timerRunning = true;
      m_timer = CreateThread(nullptr, 0, &TestDriver::timerEntry, this, 0, nullptr);
    }
    return AsioResult::Ok;
  }
  ASIOError stop() override {
    record("stop");
    m_stopping = true;
    ++m_stops;
    halt();
    return AsioResult::Ok;
  }
  ASIOError getChannels(long* inputs, long* outputs) override {
    record("getChannels");
    *inputs = m_config.inputs;
    *outputs = m_config.outputs;
    return AsioResult::Ok;
  }
  ASIOError getLatencies(long* input, long* output) override {
    record("getLatencies");
    *input = *output = m_size;
    return AsioResult::Ok;
  }
  ASIOError getBufferSize(long* minimum, long* maximum, long* preferred, long* granularity) override {
    record("getBufferSize");
    *minimum = m_config.minimumSize;
    *maximum = m_config.maximumSize;
    *preferred = m_config.preferredSize;
    *granularity = m_config.granularity;
    return AsioResult::Ok;
  }
  ASIOError canSampleRate(ASIOSampleRate rate) override {
    record("canSampleRate " + number(rate));
    const auto& rates = m_config.acceptedRates;
    return std::find(std::begin(rates), std::end(rates), rate) != std::end(rates) && rate > 0
               ? AsioResult::Ok
               : AsioResult::NoClock;
  }
  ASIOError getSampleRate(ASIOSampleRate* rate) override {
    record("getSampleRate");
    *rate = m_config.stuckRate != 0.0 ? m_config.stuckRate : m_rate;
    return AsioResult::Ok;
  }
  ASIOError setSampleRate(ASIOSampleRate rate) override {
    record("setSampleRate " + number(rate));
    if (canSampleRate(rate) != AsioResult::Ok) return AsioResult::NoClock;
    m_rate = rate;
    return AsioResult::Ok;
  }
  ASIOError getClockSources(ASIOClockSource*, long* count) override {
    record("getClockSources");
    *count = 0;
    return AsioResult::Ok;
  }
  ASIOError setClockSource(long) override {
    record("setClockSource");
    return AsioResult::Ok;
  }
  ASIOError getSamplePosition(ASIOSamples*, ASIOTimeStamp*) override {
    record("getSamplePosition");
    return AsioResult::NotPresent;
  }
  ASIOError getChannelInfo(ASIOChannelInfo* info) override {
    record("getChannelInfo " + std::to_string(info->isInput) + " " + std::to_string(info->channel));
    const long count = info->isInput ? m_config.inputs : m_config.outputs;
    if (info->channel < 0 || info->channel >= count) return AsioResult::InvalidParameter;
    info->isActive = 0;
    info->channelGroup = 0;
    info->type = m_config.sampleType;
    std::snprintf(info->name, sizeof info->name, "%s %ld", info->isInput ? "Input" : "Output",
                  info->channel + 1);
    return AsioResult::Ok;
  }
  ASIOError createBuffers(ASIOBufferInfo* infos, long count, long size, ASIOCallbacks* callbacks) override {
    record("createBuffers " + std::to_string(count) + " " + std::to_string(size));
    if (m_config.createBuffersFails || !m_infos.empty()) return AsioResult::InvalidMode;
    const long bytes = bytesPerSample(m_config.sampleType) * size;
    m_size = size;
    m_callbacks = *callbacks;
    m_memory.assign(static_cast<std::size_t>(count) * 2, std::vector<std::uint8_t>(bytes, 0xAB));
    for (long i = 0; i < count; ++i) {
      infos[i].buffers[0] = m_memory[i * 2].data();
      infos[i].buffers[1] = m_memory[i * 2 + 1].data();
      m_infos.push_back(infos[i]);
    }
    return AsioResult::Ok;
  }
  ASIOError disposeBuffers() override {
    record("disposeBuffers");
    const bool released = release();
    m_stopping = false;
    return released ? AsioResult::Ok : AsioResult::InvalidMode;
  }
  ASIOError controlPanel() override {
    record("controlPanel");
    if (m_config.resetFromControlPanel && m_callbacks.asioMessage) {
      const long answer = m_callbacks.asioMessage(AsioMessageSelector::ResetRequest, 0, nullptr, nullptr);
      record("reset answered " + std::to_string(answer));
    }
    return AsioResult::Ok;
  }
  ASIOError future(long selector, void*) override {
    record("future " + std::to_string(selector));
    return AsioResult::InvalidParameter;
  }
  ASIOError outputReady() override {
    ++state().outputReadyCalls;
    // Outside the callback, the host hands over a block it processed on a thread of its own. A stop
    // must neither be under way when it comes nor begin before it is through.
    const bool handOver = !inCallback;
    const long stopsBefore = m_stops;
    const bool stopUnderWay = m_stopping;
    if (m_running) {
      std::unique_lock<std::mutex> hold(state().holdLock);
      if (state().holding) {
        state().held = true;
        state().holdChanged.notify_all();
        state().holdChanged.wait(hold, [] { return !state().holding; });
        state().held = false;
      }
    }
    if (handOver && (stopUnderWay || m_stops != stopsBefore)) ++state().stopsDuringBlock;
    return m_config.outputReadySupported ? AsioResult::Ok : AsioResult::NotPresent;
  }

  // One block: fill the inputs, call the host, record what it left in the outputs.
  bool runBlock() {
    if (!m_running) return false;
    const long half = m_half;
    m_half = 1 - half;
    const long bytes = bytesPerSample(m_config.sampleType);
    for (std::size_t i = 0; i < m_infos.size(); ++i) {
      if (!m_infos[i].isInput) continue;
      auto& buffer = m_memory[i * 2 + half];
      for (long frame = 0; frame < m_size; ++frame)
        encode(m_config.sampleType, m_config.inputPattern[frame % 4], buffer.data() + frame * bytes);
    }
    inCallback = true;
    if (m_config.useTimeInfo) {
      m_callbacks.bufferSwitchTimeInfo(nullptr, half, m_config.directProcess);
    } else {
      m_callbacks.bufferSwitch(half, m_config.directProcess);
    }
    inCallback = false;
    ++state().blocks;
    recordOutputs(half);
    if (m_config.resetAfterBlocks != 0 && ++m_blocksRun == m_config.resetAfterBlocks)
      record("reset answered " + std::to_string(sendMessage(AsioMessageSelector::ResetRequest, 0)));
    return true;
  }

  long sendMessage(long selector, long value) {
    return m_callbacks.asioMessage ? m_callbacks.asioMessage(selector, value, nullptr, nullptr) : -1;
  }
  void reportRate(double rate) {
    m_rate = rate;
    if (m_callbacks.sampleRateDidChange) m_callbacks.sampleRateDidChange(rate);
  }

  static bool isServed(REFCLSID id) {
    static const CLSID first = parse(TestAsio::ClassId);
    static const CLSID second = parse(TestAsio::SecondClassId);
    return id == first || id == second;
  }

 private:
  // Keeps what the host left in the outputs of one half.
  void recordOutputs(long half) {
    const long bytes = bytesPerSample(m_config.sampleType);
    Guard guard(state().lock);
    auto& outputs = state().outputs;
    for (std::size_t i = 0; i < m_infos.size(); ++i) {
      if (m_infos[i].isInput) continue;
      const auto channel = static_cast<std::size_t>(m_infos[i].channelNum);
      if (outputs.size() <= channel) outputs.resize(channel + 1);
      const auto& buffer = m_memory[i * 2 + half];
      for (long frame = 0; frame < m_size && outputs[channel].size() < recordLimit; ++frame)
        outputs[channel].push_back(decode(m_config.sampleType, buffer.data() + frame * bytes));
    }
  }

  // Like a real device, stopping waits for the thread that delivers the blocks.
  void halt() {
    if (m_timer) {
      m_timerRunning = false;
      WaitForSingleObject(m_timer, INFINITE);
      CloseHandle(m_timer);
      m_timer = nullptr;
    }
    m_running = false;
  }

  bool release() {
    if (m_infos.empty()) return false;
    m_infos.clear();
    m_memory.clear();
    return true;
  }

  static DWORD WINAPI timerEntry(void* self) {
    auto* driver = static_cast<TestDriver*>(self);
    while (driver->m_timerRunning) {
      driver->runBlock();
      Sleep(static_cast<DWORD>(driver->m_config.timerPeriodMs));
    }
    return 0;
  }

  std::atomic<ULONG> m_references{1};
  const TestAsio::Config m_config;
  double m_rate;
  long m_size = 0;
  long m_half = 0;
  long m_blocksRun = 0;
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_timerRunning{false};
  // From stop() until the buffers are disposed; stop() calls so far.
  std::atomic<bool> m_stopping{false};
  std::atomic<long> m_stops{0};
  HANDLE m_timer = nullptr;
  ASIOCallbacks m_callbacks{};
  std::vector<ASIOBufferInfo> m_infos;
  std::vector<std::vector<std::uint8_t>> m_memory;
};

class Factory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IClassFactory) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // The host asks for the class id as the interface id.
    record("create " + text(id));
    auto* driver = new TestDriver;
    const HRESULT result = driver->QueryInterface(id, object);
    driver->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory;

}  // namespace

extern "C" {

HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID id, void** object) {
  *object = nullptr;
  if (!TestDriver::isServed(classId)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(id, object);
}

// The tests read the driver's records after the host has released it: stay loaded.
HRESULT WINAPI DllCanUnloadNow() {
  return S_FALSE;
}

void TestAsioConfigure(const TestAsio::Config* settings) {
  Guard guard(state().lock);
  state().config = *settings;
  state().calls.clear();
  state().outputs.clear();
  state().blocks = 0;
  state().outputReadyCalls = 0;
  state().noiseAtStart = 0;
  state().stopsDuringBlock = 0;
}

long TestAsioCallLog(char* buffer, long size) {
  Guard guard(state().lock);
  std::string log;
  for (const auto& call : state().calls) log += call + "\n";
  if (size > 0) {
    const auto copied = std::min<std::size_t>(log.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, log.data(), copied);
    buffer[copied] = '\0';
  }
  return static_cast<long>(log.size());
}

long TestAsioOutput(long channel, long* samples, long maximum) {
  Guard guard(state().lock);
  const auto& outputs = state().outputs;
  if (channel < 0 || static_cast<std::size_t>(channel) >= outputs.size()) return 0;
  const auto& recorded = outputs[static_cast<std::size_t>(channel)];
  std::copy_n(recorded.begin(), std::min<std::size_t>(recorded.size(), static_cast<std::size_t>(maximum)),
              samples);
  return static_cast<long>(recorded.size());
}

long TestAsioRunBlocks(long count) {
  TestDriver* driver = current;
  long run = 0;
  while (driver && run < count && driver->runBlock()) ++run;
  return run;
}

long TestAsioSendMessage(long selector, long value) {
  TestDriver* driver = current;
  return driver ? driver->sendMessage(selector, value) : -1;
}

void TestAsioReportRate(double rate) {
  if (TestDriver* driver = current) driver->reportRate(rate);
}

long TestAsioBlockCount() {
  return state().blocks;
}

long TestAsioOutputReadyCount() {
  return state().outputReadyCalls;
}

long TestAsioNoiseAtStart() {
  return state().noiseAtStart;
}

long TestAsioStopsDuringBlock() {
  return state().stopsDuringBlock;
}

void TestAsioHoldBlocks(long hold) {
  std::lock_guard<std::mutex> guard(state().holdLock);
  state().holding = hold != 0;
  state().holdChanged.notify_all();
}

void TestAsioAwaitHeldBlock() {
  std::unique_lock<std::mutex> hold(state().holdLock);
  state().holdChanged.wait(hold, [] { return state().held; });
}

}  // extern "C"
