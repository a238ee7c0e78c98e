#pragma once

#include <string>

namespace Ombix::Kelvane {

// One audio system's driver: lists its devices, opens one, configures it, runs it and hands out one
// float buffer per active channel. Configuration calls come from the owner's thread; FinishBlock and
// the buffer accessors come from the driver's own thread inside IAudioHandler::OnBufferSwitch.
class IAudioDriver {
 public:
  // Stops the device and frees everything the driver holds.
  virtual ~IAudioDriver() = default;

  virtual int DeviceCount() = 0;
  virtual std::string DeviceName(unsigned index) = 0;
  // Closes the open device and opens this one; false when it cannot.
  virtual bool OpenDevice(int index) = 0;
  virtual void ShowControlPanel() = 0;
  // Converts the block's float outputs to the device and answers the load: the time since the block
  // began over the block's length (1.0 = the whole block time used); 0 without an open device.
  virtual float FinishBlock() = 0;

  virtual int ChannelCount(bool input) = 0;
  virtual std::string ChannelName(bool input, int index) = 0;
  // Takes effect at the next start; only active channels get buffers.
  virtual void SetChannelActive(bool input, int index, bool active) = 0;
  virtual float* InputBuffer(int index) = 0;
  virtual float* OutputBuffer(int index) = 0;

  virtual int MinBufferSize() = 0;
  virtual int MaxBufferSize() = 0;
  // Step between valid sizes in frames; -1 means powers of two.
  virtual int BufferGranularity() = 0;
  virtual bool IsBufferSizeValid(int frames) = 0;
  // Stops the device, takes the size when valid and reports the size through the handler.
  virtual bool SetBufferSize(int frames) = 0;
  virtual int BufferSize() = 0;

  virtual bool CanSampleRate(double rate) = 0;
  // Stops the device, sets the rate when it can and reports it through the handler.
  virtual bool SetSampleRate(double rate) = 0;
  virtual double SampleRate() = 0;

  virtual bool Start() = 0;
  // Stops the device and releases its buffers. Safe whatever lock the caller holds, as long as the
  // handler takes its locks with LockUnlessStopping. The caller holds the lock under which the handler
  // processes its blocks, so that no block (also none deferred to another thread) is between its
  // start and FinishBlock while the buffers go.
  virtual void Stop() = 0;
  virtual bool IsRunning() = 0;
  // True while Stop is waiting for the driver's thread: the handler then gives its block up instead
  // of waiting for a lock.
  virtual bool IsStopPending() const = 0;
};

}  // namespace Ombix::Kelvane
