#pragma once

namespace Ombix::Kelvane {

// What an audio driver calls back on its owner (the audio engine). The driver neither owns nor
// deletes its handler.
//
// Calls made on the driver's own thread (every OnBufferSwitch, and a rate change the device reports)
// must not wait without end for a lock whose holder may be stopping the driver: a driver's Stop waits
// for its thread. Take such a lock with LockUnlessStopping (StopSafeLock.h) and give the block up
// (silence) when it answers false.
class IAudioHandler {
 public:
  // Once per block on the driver's thread: the inputs are filled, the outputs are expected before
  // IAudioDriver::FinishBlock. processNow tells whether the block may be processed on this thread.
  virtual void OnBufferSwitch(bool processNow) = 0;
  // The buffer size is set or has changed; the float buffers have been made anew.
  virtual void OnBufferSizeChanged(int frames) = 0;
  // The sample rate is set or has changed.
  virtual void OnSampleRateChanged(double rate) = 0;
  // The running device asked to be reset (on any thread, also inside its own callback): the owner
  // stops the driver and starts it again later on its own thread; the start re-reads the device.
  virtual void OnResetRequest() = 0;

 protected:
  ~IAudioHandler() = default;
};

}  // namespace Ombix::Kelvane
