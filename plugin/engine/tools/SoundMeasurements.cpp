#include "plugin/engine/tools/SoundMeasurements.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace {

constexpr double silentPower = 1e-20;
constexpr int32_t fftSize = 2048;
constexpr int32_t fftHop = 1024;
constexpr int32_t envelopeHop = 256;
constexpr int32_t envelopeWindow = 1024;
constexpr double lowFrequencyLimit = 120.0;
constexpr double strongestFloorHz = 30.0;
constexpr double modulationStartSeconds = 0.25;
// Periods shorter than four hops (above about 43 Hz) belong to the tone, not to its movement.
constexpr std::size_t shortestLag = 4;
constexpr double minimumDepthDb = 1.0;
constexpr double releaseDropDb = 40.0;
constexpr double quietFloorDb = -90.0;
constexpr double pi = 3.14159265358979323846;

double toDb(double power) {
  return 10.0 * std::log10(std::max(power, silentPower));
}

// In-place radix-2 transform; size must be a power of two.
void fft(std::vector<std::complex<double>>& data) {
  const std::size_t n = data.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(data[i], data[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const std::complex<double> step = std::polar(1.0, -2.0 * pi / static_cast<double>(length));
    for (std::size_t start = 0; start < n; start += length) {
      std::complex<double> w = 1.0;
      for (std::size_t k = 0; k < length / 2; ++k) {
        const std::complex<double> a = data[start + k];
        const std::complex<double> b = data[start + k + length / 2] * w;
        data[start + k] = a + b;
        data[start + k + length / 2] = a - b;
        w *= step;
      }
    }
  }
}

double percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0.0;
  const std::size_t index = std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(index), values.end());
  return values[index];
}

// Power spectrum of one Hann-windowed frame starting at start.
std::vector<double> framePower(const std::vector<double>& mono, std::size_t start) {
  std::vector<std::complex<double>> data(fftSize);
  for (int32_t i = 0; i < fftSize; ++i) {
    const double window = 0.5 - 0.5 * std::cos(2.0 * pi * i / fftSize);
    data[i] = mono[start + i] * window;
  }
  fft(data);
  std::vector<double> power(fftSize / 2);
  for (int32_t bin = 0; bin < fftSize / 2; ++bin) power[bin] = std::norm(data[bin]);
  return power;
}

double centroidOf(const std::vector<double>& power, double binHz) {
  double weighted = 0.0;
  double total = 0.0;
  for (std::size_t bin = 1; bin < power.size(); ++bin) {
    const double magnitude = std::sqrt(power[bin]);
    weighted += magnitude * bin * binHz;
    total += magnitude;
  }
  return total > 0.0 ? weighted / total : 0.0;
}

// Spectral figures of the held part: average spectrum, centroid, low share, third octaves and
// the movement of the centroid over time.
void measureSpectrum(const std::vector<double>& mono, std::size_t heldFrames, double sampleRate,
                     SoundMeasurements& result) {
  const double binHz = sampleRate / fftSize;
  std::vector<double> average(fftSize / 2, 0.0);
  std::vector<double> framePowers;
  std::vector<double> centroids;
  std::vector<double> strongest;
  int32_t frameCount = 0;
  for (std::size_t start = 0; start + fftSize <= heldFrames; start += fftHop) {
    const std::vector<double> power = framePower(mono, start);
    double total = 0.0;
    for (std::size_t bin = 0; bin < power.size(); ++bin) {
      average[bin] += power[bin];
      total += power[bin];
    }
    framePowers.push_back(total);
    centroids.push_back(centroidOf(power, binHz));
    const auto lowest = power.begin() + static_cast<std::ptrdiff_t>(std::ceil(strongestFloorHz / binHz));
    strongest.push_back(static_cast<double>(std::max_element(lowest, power.end()) - power.begin()) * binHz);
    ++frameCount;
  }
  if (frameCount == 0) return;
  // Window gain and frame count normalise the spectrum to the signal's mean square.
  const double norm = 1.0 / (frameCount * 0.375 * fftSize * fftSize / 2.0);
  double total = 0.0;
  double low = 0.0;
  for (std::size_t bin = 1; bin < average.size(); ++bin) {
    average[bin] *= norm;
    total += average[bin];
    if (bin * binHz < lowFrequencyLimit) low += average[bin];
  }
  result.centroidHz = centroidOf(average, binHz);
  result.lowShare = total > 0.0 ? low / total : 0.0;
  for (int32_t band = 0; band < thirdOctaveBandCount; ++band) {
    const double lowEdge = thirdOctaveCentre(band) * std::pow(2.0, -1.0 / 6.0);
    const double highEdge = thirdOctaveCentre(band) * std::pow(2.0, 1.0 / 6.0);
    double power = 0.0;
    for (std::size_t bin = 1; bin < average.size(); ++bin) {
      const double hz = bin * binHz;
      if (hz >= lowEdge && hz < highEdge) power += average[bin];
    }
    result.thirdOctaveDb[band] = toDb(power);
  }
  // Movements count only frames within 30 dB of the loudest.
  const double loudest = *std::max_element(framePowers.begin(), framePowers.end());
  const auto spanOctaves = [&](const std::vector<double>& track) {
    std::vector<double> audible;
    for (std::size_t i = 0; i < track.size(); ++i) {
      if (framePowers[i] > loudest * 1e-3 && track[i] > 0.0) audible.push_back(track[i]);
    }
    return audible.empty() ? 0.0 : std::log2(percentile(audible, 0.9) / percentile(audible, 0.1));
  };
  result.centroidSpanOctaves = spanOctaves(centroids);
  result.peakSpanOctaves = spanOctaves(strongest);
}

// Level envelope: mean square of both channels over a window long enough to smooth out the
// periods of low notes, one value per hop.
std::vector<double> envelopeOf(const StereoRendering& rendering, std::size_t begin, std::size_t end) {
  std::vector<double> envelope;
  for (std::size_t start = begin; start + envelopeHop <= end; start += envelopeHop) {
    const std::size_t stop = std::min(end, start + envelopeWindow);
    double sum = 0.0;
    for (std::size_t i = start; i < stop; ++i) {
      sum += double(rendering.left[i]) * rendering.left[i] + double(rendering.right[i]) * rendering.right[i];
    }
    envelope.push_back(sum / (2.0 * static_cast<double>(stop - start)));
  }
  return envelope;
}

// Depth, rate and regularity of the level's movement while held.
void measureModulation(const std::vector<double>& envelope, double hopsPerSecond, SoundMeasurements& result) {
  const std::size_t skip = static_cast<std::size_t>(modulationStartSeconds * hopsPerSecond);
  if (envelope.size() < skip + 16) return;
  std::vector<double> level;
  for (std::size_t i = skip; i < envelope.size(); ++i) level.push_back(std::sqrt(envelope[i]));
  const double high = percentile(level, 0.95);
  const double low = percentile(level, 0.05);
  result.modulationDepthDb = 20.0 * std::log10(std::max(high, 1e-10) / std::max(low, 1e-10));
  double mean = 0.0;
  for (double value : level) mean += value;
  mean /= static_cast<double>(level.size());
  double energy = 0.0;
  for (double& value : level) {
    value -= mean;
    energy += value * value;
  }
  if (energy <= 0.0) return;
  // The first autocorrelation peak that reaches near the strongest one gives the period.
  const std::size_t maxLag = level.size() / 2;
  std::vector<double> correlation(maxLag + 1, 0.0);
  for (std::size_t lag = 1; lag <= maxLag; ++lag) {
    double sum = 0.0;
    for (std::size_t i = 0; i + lag < level.size(); ++i) sum += level[i] * level[i + lag];
    correlation[lag] = sum / energy * level.size() / (level.size() - lag);
  }
  if (result.modulationDepthDb < minimumDepthDb) return;
  double strongest = 0.0;
  for (std::size_t lag = shortestLag; lag < maxLag; ++lag) strongest = std::max(strongest, correlation[lag]);
  for (std::size_t lag = shortestLag; lag < maxLag; ++lag) {
    const bool peak = correlation[lag] >= correlation[lag - 1] && correlation[lag] >= correlation[lag + 1];
    if (peak && correlation[lag] > 0.2 && correlation[lag] >= 0.8 * strongest) {
      result.modulationRateHz = hopsPerSecond / static_cast<double>(lag);
      result.modulationPeriodicity = correlation[lag];
      return;
    }
  }
}

// Attack, crest and release of the level envelope.
void measureEnvelope(const std::vector<double>& held, const std::vector<double>& released,
                     double hopsPerSecond, SoundMeasurements& result) {
  if (held.empty()) return;
  const double top = *std::max_element(held.begin(), held.end());
  for (std::size_t i = 0; i < held.size(); ++i) {
    if (held[i] >= top * 0.5) {
      result.attackSeconds = static_cast<double>(i) / hopsPerSecond;
      break;
    }
  }
  result.envelopeCrestDb = toDb(top) - toDb(percentile(held, 0.5));
  const double limitDb = std::max(result.heldRmsDb - releaseDropDb, quietFloorDb);
  result.releaseSeconds = static_cast<double>(released.size()) / hopsPerSecond;
  for (std::size_t i = 0; i < released.size(); ++i) {
    bool quietFromHere = true;
    for (std::size_t j = i; j < released.size() && quietFromHere; ++j)
      quietFromHere = toDb(released[j]) < limitDb;
    if (quietFromHere) {
      result.releaseSeconds = static_cast<double>(i) / hopsPerSecond;
      break;
    }
  }
}

// What the output limiter did: the share of blocks in which it acted and the largest sample before it.
struct LimiterFigures {
  double share = 0.0;
  double unlimitedPeak = 0.0;
};

// The output limiter scales a sample pair by 0.7 / e + 0.3 once its envelope e reaches 1; the
// envelope and the pair before scaling are recovered from the scaled output, so every block can be judged.
LimiterFigures limiterFiguresOf(const StereoRendering& rendering) {
  const double k = 3.0 / rendering.sampleRate;
  double envelope = 0.0;
  int32_t limitedBlocks = 0;
  int32_t blocks = 0;
  LimiterFigures figures;
  for (std::size_t start = 0; start + rendering.blockSize <= rendering.left.size();
       start += rendering.blockSize) {
    bool limited = false;
    for (std::size_t i = start; i < start + rendering.blockSize; ++i) {
      const double kept = (1.0 - k) * envelope + 1e-6;
      const double larger = std::max(std::fabs(rendering.left[i]), std::fabs(rendering.right[i]));
      const double out = std::fabs(rendering.left[i]) + std::fabs(rendering.right[i]);
      if (kept + out * k < 1.0) {
        envelope = kept + out * k;
        figures.unlimitedPeak = std::max(figures.unlimitedPeak, larger);
        continue;
      }
      limited = true;
      const double b = 0.7 + 0.3 * kept - out * k;
      const double input = (-b + std::sqrt(b * b + 4.0 * 0.3 * k * out * kept)) / (2.0 * 0.3 * k);
      envelope = kept + input * k;
      if (out > 0.0) figures.unlimitedPeak = std::max(figures.unlimitedPeak, larger * input / out);
    }
    limitedBlocks += limited ? 1 : 0;
    ++blocks;
  }
  figures.share = blocks > 0 ? static_cast<double>(limitedBlocks) / blocks : 0.0;
  return figures;
}

// How strongly the held signal repeats itself at some period between 20 and 1500 samples.
double pitchClarityOf(const std::vector<double>& mono, std::size_t heldFrames) {
  constexpr std::size_t window = 4096;
  constexpr std::size_t shortestLag = 20;
  constexpr std::size_t longestLag = 1500;
  if (heldFrames < window + longestLag) return 0.0;
  const std::size_t start = heldFrames / 2;
  double best = 0.0;
  for (std::size_t lag = shortestLag; lag <= longestLag; ++lag) {
    double cross = 0.0, a = 0.0, b = 0.0;
    for (std::size_t i = start; i < start + window; ++i) {
      cross += mono[i] * mono[i + lag];
      a += mono[i] * mono[i];
      b += mono[i + lag] * mono[i + lag];
    }
    if (a > 0.0 && b > 0.0) best = std::max(best, cross / std::sqrt(a * b));
  }
  return best;
}

}  // namespace

double thirdOctaveCentre(int32_t band) {
  return 1000.0 * std::pow(2.0, (band - 16) / 3.0);
}

SoundMeasurements measureRendering(const StereoRendering& rendering) {
  SoundMeasurements result;
  const std::size_t frames = std::min(rendering.left.size(), rendering.right.size());
  const std::size_t heldFrames =
      std::min(frames, static_cast<std::size_t>(std::max(rendering.releaseFrame, 0)));
  if (heldFrames == 0 || rendering.blockSize < 1) return result;

  double peak = 0.0;
  for (std::size_t i = 0; i < frames; ++i) {
    const float left = rendering.left[i];
    const float right = rendering.right[i];
    if (!std::isfinite(left) || !std::isfinite(right)) result.finite = false;
    peak = std::max({peak, double(std::fabs(left)), double(std::fabs(right))});
  }
  result.peakDb = 20.0 * std::log10(std::max(peak, 1e-10));
  if (!result.finite) return result;

  std::vector<double> mono(frames);
  double sumLeft = 0.0, sumRight = 0.0, power = 0.0;
  for (std::size_t i = 0; i < frames; ++i) {
    mono[i] = 0.5 * (double(rendering.left[i]) + rendering.right[i]);
    if (i >= heldFrames) continue;
    sumLeft += rendering.left[i];
    sumRight += rendering.right[i];
    power += double(rendering.left[i]) * rendering.left[i] + double(rendering.right[i]) * rendering.right[i];
  }
  result.heldPower = power / (2.0 * heldFrames);
  result.heldRmsDb = toDb(result.heldPower);
  result.dcOffset = std::max(std::fabs(sumLeft), std::fabs(sumRight)) / heldFrames;

  const double hopsPerSecond = rendering.sampleRate / envelopeHop;
  const std::vector<double> held = envelopeOf(rendering, 0, heldFrames);
  const std::vector<double> released = envelopeOf(rendering, heldFrames, frames);
  measureSpectrum(mono, heldFrames, rendering.sampleRate, result);
  measureModulation(held, hopsPerSecond, result);
  measureEnvelope(held, released, hopsPerSecond, result);
  const LimiterFigures limiter = limiterFiguresOf(rendering);
  result.limiterShare = limiter.share;
  result.unlimitedPeakDb = 20.0 * std::log10(std::max(limiter.unlimitedPeak, 1e-10));
  result.pitchClarity = pitchClarityOf(mono, heldFrames);
  return result;
}
