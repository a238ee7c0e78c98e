#pragma once

#include <boost/signals2/connection.hpp>
#include <boost/signals2/trackable.hpp>
#include <vector>

#include "host/drivers/midi/PackedMidiEvent.h"

namespace Ombix::Kelvane {

class AudioBufferStack;
class AudioEngine;

// A node of the audio graph's ring: which buffer each of its inputs reads and each of its outputs
// writes. The ring holds the channel strip (the driver) and one node per active plug-in; a node reads
// what its predecessor writes. Ring and buffer changes happen under the engine lock.
class AudioLink : public boost::signals2::trackable {
 public:
  // Buffer states of a side.
  static constexpr int kNotLinked = -1;
  static constexpr int kStrip = -2;
  static constexpr int kDriver = -3;

  // stack: the node's own buffer stack, or null (a node takes its anchor's stack when linked).
  AudioLink(AudioEngine* engine, AudioBufferStack* stack);
  virtual ~AudioLink();
  AudioLink(const AudioLink&) = delete;
  AudioLink& operator=(const AudioLink&) = delete;

  // The node's reaction to a new block size.
  virtual void OnBlockSize() = 0;
  virtual void SetInputCount(int count);
  virtual void SetOutputCount(int count);
  virtual float* GetInput(int index);
  // Null also for an output that writes scratch: what goes to scratch is never passed on.
  virtual float* GetOutput(int index);
  virtual float* GetStackBuffer(int channel, int set);
  // Null means silence.
  virtual void SetInput(int index, float* buffer);
  // Null means scratch.
  virtual void SetOutput(int index, float* buffer);
  // Chooses the output buffers from the successor and the buffer sets (see the .cpp).
  virtual void PropagateOutputs();
  // Re-reads the inputs from the predecessor's outputs.
  virtual void PropagateInputs();
  virtual int GetInputCount() { return static_cast<int>(inputs_.size()); }
  virtual int GetOutputCount() { return static_cast<int>(outputs_.size()); }

  // Takes the link out of its ring (it becomes a ring of its own).
  void Unlink();
  // Inserts link right after anchor.
  static void LinkAfter(AudioLink* link, AudioLink* anchor);
  // Swaps the shared buffers of the previous size for the new ones, then OnBlockSize.
  void OnBlockSizeChanged(int frames);

  float** Inputs() { return inputs_.data(); }
  float** Outputs() { return outputs_.data(); }
  // The block's MIDI, read through the stack this node belongs to.
  int MidiCount() const;
  PackedMidiEvent* MidiEvents() const;
  int InputState() const { return inputState_; }
  int OutputState() const { return outputState_; }
  AudioLink* Predecessor() const { return predecessor_; }
  AudioLink* Successor() const { return successor_; }

 protected:
  // Drops the block-size connection (derived destructors call it before their own parts go).
  void Disconnect() { blockSizeConnection_.disconnect(); }

  AudioBufferStack* stack_;
  AudioLink* predecessor_;
  AudioLink* successor_;
  int inputState_ = kNotLinked;
  int outputState_ = kNotLinked;
  std::vector<float*> inputs_;
  std::vector<float*> outputs_;
  int* const* midiCount_ = nullptr;
  PackedMidiEvent* const* midiEvents_ = nullptr;
  AudioEngine* const engine_;

 private:
  boost::signals2::scoped_connection blockSizeConnection_;
};

}  // namespace Ombix::Kelvane
