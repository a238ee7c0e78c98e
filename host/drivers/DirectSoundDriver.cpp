#include "host/drivers/DirectSoundDriver.h"

#include <cmath>

#include "common/logging/Logger.h"

namespace Ombix::Kelvane {

namespace {

constexpr int minimumBlock = 1024;
constexpr int maximumBlock = 8192;
constexpr int blockStep = 128;
constexpr double deviceRate = 44100.0;

bool IsValidBlockSize(int frames) {
  return frames >= minimumBlock && frames <= maximumBlock && frames % blockStep == 0;
}

bool IsValidRate(double rate) {
  return std::fabs(rate - deviceRate) <= static_cast<double>(0.1f);
}

BOOL CALLBACK DirectSoundEnumCallback(GUID* device, const char* description, const char*, void* context) {
  static_cast<DirectSoundDriver*>(context)->AddDevice(device, description ? description : "");
  return TRUE;
}

}  // namespace

DirectSoundDriver::DirectSoundDriver(HWND, IAudioHandler* handler) : m_handler(handler) {
  if (FAILED(m_library.Enumerate(&DirectSoundEnumCallback, this)))
    Common::Logging::theLogger.Error("DirectSound devices could not be enumerated!\n");
}

DirectSoundDriver::~DirectSoundDriver() {
  Close();
}

void DirectSoundDriver::Close() {
  // Stopped while the device is still ours: a block waiting for its caller's lock sees the stop
  // pending only through it.
  Stop();
  m_open.reset();
}

void DirectSoundDriver::AddDevice(const GUID* device, const std::string& description) {
  m_devices.push_back(Device{device ? std::optional<GUID>(*device) : std::nullopt, description});
}

int DirectSoundDriver::DeviceCount() {
  return static_cast<int>(m_devices.size());
}

std::string DirectSoundDriver::DeviceName(unsigned index) {
  return index < m_devices.size() ? m_devices[index].description : "None";
}

bool DirectSoundDriver::OpenDevice(int index) {
  Close();
  if (index < 0 || index >= DeviceCount()) return false;
  m_open = std::make_unique<DSDriver>(m_library, m_devices[index].id, m_handler);
  return true;
}

float DirectSoundDriver::FinishBlock() {
  AudioThread* thread = m_open ? m_open->Thread() : nullptr;
  return thread ? thread->FinishBlock() : 0.0f;
}

int DirectSoundDriver::ChannelCount(bool input) {
  return m_open && !input ? 2 : 0;
}

std::string DirectSoundDriver::ChannelName(bool input, int index) {
  if (input || !m_open) return "No Name";
  return index == 0 ? "Left Speaker" : "Right Speaker";
}

float* DirectSoundDriver::OutputBuffer(int index) {
  AudioThread* thread = m_open ? m_open->Thread() : nullptr;
  return thread ? thread->Buffer(index) : nullptr;
}

int DirectSoundDriver::MinBufferSize() {
  return m_open ? minimumBlock : 64;
}

int DirectSoundDriver::MaxBufferSize() {
  return m_open ? maximumBlock : 1024;
}

int DirectSoundDriver::BufferGranularity() {
  return m_open ? blockStep : 0;
}

bool DirectSoundDriver::IsBufferSizeValid(int frames) {
  return m_open && IsValidBlockSize(frames);
}

bool DirectSoundDriver::SetBufferSize(int frames) {
  if (!m_open) return false;
  m_open->Stop();
  const bool valid = IsValidBlockSize(frames);
  if (valid) m_open->SetBlockSize(frames);
  if (m_handler) m_handler->OnBufferSizeChanged(m_open->BlockSize());
  return valid;
}

int DirectSoundDriver::BufferSize() {
  return m_open ? m_open->BlockSize() : 4096;
}

bool DirectSoundDriver::CanSampleRate(double rate) {
  return m_open && IsValidRate(rate);
}

bool DirectSoundDriver::SetSampleRate(double rate) {
  if (!m_open) return false;
  m_open->Stop();
  const bool valid = IsValidRate(rate);
  if (valid) m_open->SetSampleRate(rate);
  if (m_handler) m_handler->OnSampleRateChanged(m_open->SampleRate());
  return valid;
}

double DirectSoundDriver::SampleRate() {
  return m_open ? m_open->SampleRate() : deviceRate;
}

bool DirectSoundDriver::Start() {
  if (!m_open) return false;
  m_open->Stop();
  m_open->Start();
  return m_open->IsRunning();
}

void DirectSoundDriver::Stop() {
  if (m_open) m_open->Stop();
}

bool DirectSoundDriver::IsRunning() {
  return m_open && m_open->IsRunning();
}

bool DirectSoundDriver::IsStopPending() const {
  return m_open && m_open->IsStopPending();
}

}  // namespace Ombix::Kelvane
