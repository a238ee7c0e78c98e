#include "host/core/Sync.h"

#include <cmath>

namespace Ombix::Kelvane {

Sync::Sync() {
  Update();
}

void Sync::Update() {
  beatsPerSample_ = 1.0 / (position_.sampleRate / (position_.tempo / 60.0));
}

void Sync::SetSampleRate(double rate) {
  if (!(rate > 0.0)) return;  // a driver without a rate must not turn the clock into NaN
  position_.sampleRate = rate;
  Update();
}

void Sync::Advance(int frames) {
  position_.samplePosition += frames;
  const double beatsAndFraction = frames * beatsPerSample_ + position_.beatFraction;
  const double wholeBeats = std::floor(beatsAndFraction);
  position_.beatFraction = beatsAndFraction - wholeBeats;
  const int beats = static_cast<int>(wholeBeats + 0.0001) + position_.beat;
  position_.bar += beats / position_.numerator;
  position_.beat = beats % position_.numerator;
}

}  // namespace Ombix::Kelvane
