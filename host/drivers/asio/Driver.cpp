#include "host/drivers/asio/Driver.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/logging/Logger.h"
#include "host/drivers/asio/AsioLog.h"

namespace Ombix::Kelvane {

namespace {

// Blocks muted after every start while the device settles.
constexpr int startupBlocks = 30;
constexpr double fallbackRate = 44100.0;

// The device's callbacks carry no context: they reach the Driver that started last.
std::atomic<Driver*> activeDriver{nullptr};

void AsioBufferSwitch(long half, ASIOBool directProcess) {
  if (Driver* driver = activeDriver) driver->BeginBlock(half, directProcess != 0);
}

void* AsioBufferSwitchTimeInfo(void*, long half, ASIOBool directProcess) {
  AsioBufferSwitch(half, directProcess);
  return nullptr;
}

void AsioSampleRateDidChange(ASIOSampleRate rate) {
  if (Driver* driver = activeDriver) driver->SampleRateDidChange(rate);
}

long AsioMessage(long selector, long value, void*, double*) {
  switch (selector) {
    case AsioMessageSelector::SelectorSupported:
      return (value >= 1 && value <= 8) || value == AsioMessageSelector::Overload ? 1 : 0;
    case AsioMessageSelector::EngineVersion:
      return 2;
    case AsioMessageSelector::ResetRequest: {
      Driver* driver = activeDriver;
      return driver ? driver->ResetRequested() : 0;
    }
    case AsioMessageSelector::LatenciesChanged:
    case AsioMessageSelector::SupportsTimeInfo:
    case AsioMessageSelector::SupportsTimeCode:
    case AsioMessageSelector::Overload:
      return 1;
    default:
      return 0;
  }
}

// Copies a text the device wrote into a larger scratch buffer (some write past the documented size).
template <std::size_t size>
void CopyText(char (&target)[size], const char* source) {
  const std::size_t length = strnlen(source, size - 1);
  std::memcpy(target, source, length);
  target[length] = '\0';
}

}  // namespace

Driver::Driver(IASIO& device, IAudioHandler* handler) : m_handler(handler), m_device(device) {
  m_callbacks = {&AsioBufferSwitch, &AsioSampleRateDidChange, &AsioMessage, &AsioBufferSwitchTimeInfo};
}

Driver::~Driver() {
  Stop();
  auto& log = Common::Logging::theLogger;
  log.Info("ASIOExit => ");
  log.Info("OK!\n");
  Driver* self = this;
  activeDriver.compare_exchange_strong(self, nullptr);
}

bool Driver::Init(HWND window) {
  Common::Logging::theLogger.Info("Initializing ASIO driver\n");
  m_driverInfo.asioVersion = 2;
  m_driverInfo.sysRef = window;
  CopyText(m_driverInfo.name, "No ASIO Driver");
  char text[256] = {};
  ASIOError result = AsioResult::NotPresent;
  if (m_device.init(window)) {
    CopyText(m_driverInfo.errorMessage, "No ASIO Driver Error");
    m_device.getDriverName(text);
    CopyText(m_driverInfo.name, text);
    m_driverInfo.driverVersion = m_device.getDriverVersion();
    result = AsioResult::Ok;
  } else {
    m_device.getErrorMessage(text);
    CopyText(m_driverInfo.errorMessage, text);
  }
  if (LogAsioCall("ASIOInit", result) != AsioResult::Ok) return false;
  m_device.getSampleRate(&m_sampleRate);
  ReadSettings();
  if (m_handler) m_handler->OnSampleRateChanged(m_sampleRate);
  return true;
}

bool Driver::ReadSettings() {
  return ReadSettings(true);
}

// adjustRate is false when called from SetSampleRate: a device that reports a rate it then refuses
// must not send the two into each other without end.
bool Driver::ReadSettings(bool adjustRate) {
  long minimum = 0, maximum = 0, preferred = 0, granularity = 0;
  if (LogAsioCall("ASIOGetBufferSize",
                  m_device.getBufferSize(&minimum, &maximum, &preferred, &granularity)) != AsioResult::Ok)
    return false;
  m_minimumSize = minimum;
  m_maximumSize = maximum;
  m_preferredSize = preferred;
  m_granularity = granularity;
  const int rounded = RoundBufferSize(m_bufferSize);
  if (rounded != m_bufferSize) {
    Stop();
    CreateChannelBuffers(rounded);
  }
  double rate = 0.0;
  if (LogAsioCall("ASIOGetSampleRate", m_device.getSampleRate(&rate)) != AsioResult::Ok) return false;
  if (adjustRate) {
    if (LogAsioCall("ASIOCanSampleRate", m_device.canSampleRate(rate)) != AsioResult::Ok) {
      SetSampleRate(fallbackRate);
    } else if (rate != m_sampleRate) {
      SetSampleRate(rate);
    }
  }
  m_postOutput = m_device.outputReady() == AsioResult::Ok;
  Common::Logging::theLogger.Info(m_postOutput ? "Post output active\n" : "Post output deactivated\n");
  ReadChannels();
  return true;
}

bool Driver::ReadChannels() {
  long inputs = 0, outputs = 0;
  const ASIOError result = LogAsioCall("ASIOGetChannels", m_device.getChannels(&inputs, &outputs));
  if (result != AsioResult::Ok) inputs = outputs = 0;
  inputs = std::max(inputs, 0L);
  outputs = std::max(outputs, 0L);
  if (inputs == m_inputCount && outputs == m_outputCount && !m_channels.empty()) {
    Common::Logging::theLogger.Info("Channel info is up to date\n");
    return true;
  }
  m_channels.clear();
  m_bufferInfos.clear();
  m_activeChannels.clear();
  m_activeBufferCount = 0;
  m_inputCount = inputs;
  m_outputCount = outputs;
  m_channels.resize(static_cast<std::size_t>(inputs + outputs));
  for (int i = 0; i < inputs + outputs; ++i) {
    ChannelInfo& channel = m_channels[i];
    channel.device.isInput = i < inputs;
    channel.device.channel = i < inputs ? i : i - inputs;
    const ASIOError info = m_device.getChannelInfo(&channel.device);
    if (info != AsioResult::Ok) LogAsioCall("ASIOGetChannelInfo", info);
    channel.bytesPerSample = BytesPerSample(channel.device.type);
    channel.converter = ChooseConverter(channel.device.type, channel.device.isInput != 0);
  }
  return result == AsioResult::Ok;
}

int Driver::RoundBufferSize(int frames) const {
  if (frames == 0) frames = m_preferredSize != 0 ? m_preferredSize : 512;
  int size = std::max(frames, m_minimumSize);
  if (m_granularity == -1) {
    if ((size & (size - 1)) != 0) size = m_preferredSize;
  } else if (m_granularity > 0) {
    size -= (size - m_minimumSize) % m_granularity;
  }
  return std::min(std::max(size, m_minimumSize), m_maximumSize);
}

void Driver::CreateChannelBuffers(int frames) {
  const int previous = m_bufferSize;
  m_bufferSize = frames;
  if (!m_channels.empty()) {
    // Re-reading may settle on another size (and make the buffers itself): keep what it chose.
    if (frames != previous) ReadSettings(false);
    frames = m_bufferSize;
    Common::Logging::theLogger.Info("Creating channel buffers\n");
    for (auto& channel : m_channels) {
      if (channel.active && frames > 0) {
        channel.buffer.assign(static_cast<std::size_t>(frames), 0.0f);
      } else {
        std::vector<float>().swap(channel.buffer);
      }
    }
  }
  if (m_handler) m_handler->OnBufferSizeChanged(frames);
}

bool Driver::SetSampleRate(double rate) {
  if (m_device.canSampleRate(rate) != AsioResult::Ok) return false;
  if (rate != m_sampleRate || m_settingsChanged.exchange(false)) {
    Stop();
    Common::Logging::theLogger.Info("Setting sample rate\n");
    Sleep(100);
    LogAsioCall("ASIOSetSampleRate", m_device.setSampleRate(rate));
    Sleep(100);
    double actual = m_sampleRate;
    if (LogAsioCall("ASIOGetSampleRate", m_device.getSampleRate(&actual)) == AsioResult::Ok)
      m_sampleRate = actual;
    ReadSettings(false);
    if (m_handler) m_handler->OnSampleRateChanged(m_sampleRate);
  }
  return std::fabs(m_sampleRate - rate) <= 0.1;
}

bool Driver::Start() {
  if (m_running) return true;
  Stop();
  if (m_settingsChanged.exchange(false)) ReadSettings();
  if (RoundBufferSize(m_bufferSize) == m_bufferSize) CreateChannelBuffers(m_bufferSize);
  m_bufferInfos.clear();
  m_activeChannels.clear();
  for (auto& channel : m_channels) {
    if (!channel.active || !channel.Buffer()) continue;
    m_bufferInfos.push_back(
        ASIOBufferInfo{channel.device.isInput, channel.device.channel, {nullptr, nullptr}});
    m_activeChannels.push_back(&channel);
  }
  m_activeBufferCount = static_cast<int>(m_bufferInfos.size());
  m_startupCounter = startupBlocks;
  if (m_activeBufferCount == 0) return false;
  activeDriver = this;
  if (LogAsioCall("ASIOCreateBuffers", m_device.createBuffers(m_bufferInfos.data(), m_activeBufferCount,
                                                              m_bufferSize, &m_callbacks)) != AsioResult::Ok)
    return false;
  m_blockLength = m_sampleRate > 0.01 ? 1000.0 / m_sampleRate * m_bufferSize : m_sampleRate;
  if (m_blockLength < 0.0001) m_blockLength = 1.0;
  // The device may play either half before the first block hands one over.
  ZeroOutputs(0);
  ZeroOutputs(1);
  // The first block may arrive before start() returns.
  m_running = true;
  if (LogAsioCall("ASIOStart", m_device.start()) != AsioResult::Ok) {
    m_running = false;
    LogAsioCall("ASIODisposeBuffers", m_device.disposeBuffers());
    return false;
  }
  return true;
}

void Driver::Stop() {
  if (!m_running) return;
  // The device's stop waits for its callback thread, which gives its block up meanwhile.
  m_stopPending = true;
  LogAsioCall("ASIOStop", m_device.stop());
  LogAsioCall("ASIODisposeBuffers", m_device.disposeBuffers());
  m_running = false;
  m_stopPending = false;
}

void Driver::ShowControlPanel() {
  Stop();
  m_inControlPanel = true;
  LogAsioCall("ASIOControlPanel", m_device.controlPanel());
  m_inControlPanel = false;
  // Re-reading here also answers a reset the device asked for from its panel.
  m_settingsChanged = false;
  ReadSettings();
}

ChannelInfo* Driver::Channel(bool input, int index) {
  const int count = input ? m_inputCount : m_outputCount;
  if (index < 0 || index >= count) return nullptr;
  return &m_channels[static_cast<std::size_t>(input ? index : m_inputCount + index)];
}

void Driver::ZeroOutputs(long half) {
  for (int i = m_activeBufferCount - 1; i >= 0; --i) {
    if (!m_bufferInfos[i].isInput)
      std::memset(m_bufferInfos[i].buffers[half], 0,
                  static_cast<std::size_t>(m_activeChannels[i]->bytesPerSample) * m_bufferSize);
  }
}

void Driver::BeginBlock(long half, bool processNow) {
  m_blockStart = m_blockTimer.ElapsedMs();
  m_currentHalf = half != 0 ? 1 : 0;
  for (int i = m_activeBufferCount - 1; i >= 0; --i) {
    ChannelInfo& channel = *m_activeChannels[i];
    if (channel.device.isInput)
      channel.converter(m_bufferSize, m_bufferInfos[i].buffers[m_currentHalf], channel.Buffer());
  }
  // Silence until the block's outputs are converted, also when the block is given up.
  ZeroOutputs(m_currentHalf);
  if (m_handler && !m_stopPending) {
    m_handler->OnBufferSwitch(processNow);
  } else if (m_postOutput) {
    m_device.outputReady();
  }
}

float Driver::FinishBlock() {
  if (!m_running) return 0.0f;
  const int muted = m_startupCounter;
  if (muted > 0) m_startupCounter = std::min(muted - 1, 200);
  for (int i = m_activeBufferCount - 1; i >= 0; --i) {
    ChannelInfo& channel = *m_activeChannels[i];
    if (channel.device.isInput) continue;
    if (muted == 0)
      channel.converter(m_bufferSize, m_bufferInfos[i].buffers[m_currentHalf], channel.Buffer());
    std::fill(channel.buffer.begin(), channel.buffer.end(), 0.0f);
  }
  if (m_postOutput) m_device.outputReady();
  return static_cast<float>((m_blockTimer.ElapsedMs() - m_blockStart) / m_blockLength);
}

void Driver::SampleRateDidChange(double rate) {
  // Re-reading the device here would free buffers that the running block uses: the owner
  // re-configures at its next call.
  m_settingsChanged = true;
  if (m_handler && !m_stopPending) m_handler->OnSampleRateChanged(rate);
}

long Driver::ResetRequested() {
  // The next start re-reads the device. Stopped, or asked from the control panel (re-read when it
  // closes), nothing else is needed; a running device cannot be restarted from its own callback, so
  // its owner is asked to do it.
  m_settingsChanged = true;
  if (m_running && !m_inControlPanel && m_handler) m_handler->OnResetRequest();
  return 1;
}

}  // namespace Ombix::Kelvane
