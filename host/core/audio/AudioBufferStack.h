#pragma once

#include <vector>

#include "host/drivers/midi/PackedMidiEvent.h"

namespace Ombix::Kelvane {

// The buffer sets through which plug-ins in the middle of the audio graph pass audio (three sets of
// one buffer per channel), and the block's MIDI events that every plug-in receives.
class AudioBufferStack {
 public:
  static constexpr int kSets = 3;

  virtual ~AudioBufferStack() = default;

  // Makes channels x 3 buffers of frames each (none when either is 0).
  void Resize(int channels, int frames);
  // The buffer of a channel and set, or null when out of range.
  float* Buffer(int channel, int set);

  // The block's MIDI: where the count and the events of the block are published.
  int* midiCount = nullptr;
  PackedMidiEvent* midiEvents = nullptr;

 private:
  int channels_ = 0;
  int frames_ = 0;
  std::vector<float> storage_;
};

}  // namespace Ombix::Kelvane
