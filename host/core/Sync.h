#pragma once

#include <boost/signals2/trackable.hpp>

#include "host/hosting/TransportPosition.h"

namespace Ombix::Kelvane {

// The host's transport: a free-running musical clock advanced by one block at the start of every
// processed block. It always plays; tempo and time signature are fixed.
class Sync : public boost::signals2::trackable {
 public:
  Sync();

  // Recomputes the beats per sample from tempo and sample rate.
  void Update();
  void SetSampleRate(double rate);
  // Moves the clock on by one block of frames, carrying whole beats into bars.
  void Advance(int frames);

  const TransportPosition& Position() const { return position_; }
  double BeatsPerSample() const { return beatsPerSample_; }

 private:
  TransportPosition position_;
  double beatsPerSample_ = 0.0;
};

}  // namespace Ombix::Kelvane
