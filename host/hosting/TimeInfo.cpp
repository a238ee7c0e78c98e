#include "host/hosting/TimeInfo.h"

#include <cmath>

namespace Ombix::Kelvane {

VstTimeInfo vstTimeInfo{};

void UpdateVstTimeInfo(const TransportPosition& transport) {
  const double position = static_cast<double>(transport.samplePosition);
  const double seconds = position / transport.sampleRate;
  const double barStart = static_cast<double>(transport.bar) * transport.numerator;
  vstTimeInfo.samplePos = position;
  vstTimeInfo.sampleRate = transport.sampleRate;
  vstTimeInfo.nanoSeconds = seconds * 1000000000.0;
  vstTimeInfo.ppqPos = barStart + transport.beat + transport.beatFraction;
  vstTimeInfo.tempo = transport.tempo;
  vstTimeInfo.barStartPos = barStart;
  vstTimeInfo.cycleStartPos = 0.0;
  vstTimeInfo.cycleEndPos = 0.0;
  vstTimeInfo.timeSigNumerator = transport.numerator;
  vstTimeInfo.timeSigDenominator = transport.denominator;
  // Sub-frames (1/80 frame at 30 frames per second) within the current second.
  vstTimeInfo.smpteOffset = static_cast<VstInt32>((seconds - std::floor(seconds)) * 30.0 * 80.0);
  vstTimeInfo.smpteFrameRate = 5;
  vstTimeInfo.flags = kVstTransportPlaying | kVstNanosValid | kVstPpqPosValid | kVstTempoValid |
                      kVstBarsValid | kVstTimeSigValid | kVstSmpteValid;
}

}  // namespace Ombix::Kelvane
