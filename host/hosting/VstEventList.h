#pragma once

#include <memory>

#include "host/hosting/PackedMidiEvent.h"
#include "host/hosting/VstRecords.h"

namespace Ombix::Kelvane {

// The VstEvents list handed to a plug-in with one block's MIDI. Its buffers are reused from block to
// block and grow only when a block brings more events than any block before.
class VstEventList {
 public:
  static constexpr int kInitialCapacity = 10;

  VstEventList();
  VstEventList(const VstEventList&) = delete;
  VstEventList& operator=(const VstEventList&) = delete;

  // Converts the packed words (a word equal to 0 ends the batch) into MIDI events: the three low bytes
  // are the message, the time stamp in microseconds becomes deltaFrames at the given rate, clamped to
  // the last frame of the block.
  VstEvents* Build(int count, const PackedMidiEvent* words, double sampleRateKHz, int blockSize);

  int Capacity() const { return capacity_; }

 private:
  struct ListDeleter {
    void operator()(VstEvents* list) const { ::operator delete(list); }
  };

  void Allocate(int capacity);

  int capacity_ = 0;
  std::unique_ptr<VstEvents, ListDeleter> list_;
  std::unique_ptr<VstMidiEvent[]> midiEvents_;
};

}  // namespace Ombix::Kelvane
