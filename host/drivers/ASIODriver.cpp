#include "host/drivers/ASIODriver.h"

namespace Ombix::Kelvane {

ASIODriver::ASIODriver(HWND window, IAudioHandler* handler) : m_handler(handler), m_window(window) {
  for (int i = 0; i < m_list.Count(); ++i) m_names.push_back(m_list.Name(i));
}

ASIODriver::~ASIODriver() {
  Close();
}

Driver* ASIODriver::Open() const {
  return m_list.Current() ? m_driver.get() : nullptr;
}

void ASIODriver::Close() {
  Stop();
  m_driver.reset();
  m_list.RemoveCurrent();
}

int ASIODriver::DeviceCount() {
  return m_list.Count();
}

std::string ASIODriver::DeviceName(unsigned index) {
  return index < m_names.size() ? m_names[index] : "";
}

bool ASIODriver::OpenDevice(int index) {
  Close();
  // Opened by position, so that two drivers listed under the same cut name both open.
  if (index < 0 || index >= m_list.Count() || m_list.Open(index) != AsioResult::Ok) return false;
  m_driver = std::make_unique<Driver>(*m_list.Current(), m_handler);
  if (m_driver->Init(m_window)) return true;
  Close();
  return false;
}

void ASIODriver::ShowControlPanel() {
  if (Driver* driver = Open()) driver->ShowControlPanel();
}

float ASIODriver::FinishBlock() {
  return m_driver ? m_driver->FinishBlock() : 0.0f;
}

int ASIODriver::ChannelCount(bool input) {
  const Driver* driver = Open();
  return driver ? (input ? driver->InputCount() : driver->OutputCount()) : 0;
}

std::string ASIODriver::ChannelName(bool input, int index) {
  Driver* driver = Open();
  const ChannelInfo* channel = driver ? driver->Channel(input, index) : nullptr;
  return channel
             ? std::string(channel->device.name, strnlen(channel->device.name, sizeof channel->device.name))
             : "";
}

void ASIODriver::SetChannelActive(bool input, int index, bool active) {
  if (ChannelInfo* channel = m_driver ? m_driver->Channel(input, index) : nullptr) channel->active = active;
}

float* ASIODriver::InputBuffer(int index) {
  ChannelInfo* channel = m_driver ? m_driver->Channel(true, index) : nullptr;
  return channel && channel->active ? channel->Buffer() : nullptr;
}

float* ASIODriver::OutputBuffer(int index) {
  // A channel deactivated since its buffer was made is not converted at the next start.
  ChannelInfo* channel = m_driver ? m_driver->Channel(false, index) : nullptr;
  return channel && channel->active ? channel->Buffer() : nullptr;
}

int ASIODriver::MinBufferSize() {
  const Driver* driver = Open();
  return driver ? driver->MinBufferSize() : 0;
}

int ASIODriver::MaxBufferSize() {
  const Driver* driver = Open();
  return driver ? driver->MaxBufferSize() : 0;
}

int ASIODriver::BufferGranularity() {
  const Driver* driver = Open();
  return driver ? driver->BufferGranularity() : 0;
}

bool ASIODriver::IsBufferSizeValid(int) {
  const Driver* driver = Open();
  return driver && driver->BufferSize() != 0;
}

bool ASIODriver::SetBufferSize(int frames) {
  if (!m_driver) return false;
  m_driver->Stop();
  if (m_driver->RoundBufferSize(frames) != frames) return false;
  m_driver->CreateChannelBuffers(frames);
  return true;
}

int ASIODriver::BufferSize() {
  const Driver* driver = Open();
  return driver ? driver->BufferSize() : 0;
}

bool ASIODriver::CanSampleRate(double rate) {
  return Open() && m_list.Current()->canSampleRate(rate) == AsioResult::Ok;
}

bool ASIODriver::SetSampleRate(double rate) {
  if (!CanSampleRate(rate)) return false;
  return m_driver->SetSampleRate(rate);
}

double ASIODriver::SampleRate() {
  const Driver* driver = Open();
  return driver ? driver->SampleRate() : 0.0;
}

bool ASIODriver::Start() {
  return m_driver && m_driver->Start();
}

void ASIODriver::Stop() {
  if (m_driver) m_driver->Stop();
}

bool ASIODriver::IsRunning() {
  const Driver* driver = Open();
  return driver && driver->IsRunning();
}

bool ASIODriver::IsStopPending() const {
  return m_driver && m_driver->IsStopPending();
}

}  // namespace Ombix::Kelvane
