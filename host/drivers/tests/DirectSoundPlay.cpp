// The DirectSound end-to-end check, run by directsound_e2e.sh around a recording of the null sink:
//   play <seconds>   plays a 441 Hz sine of amplitude 0.5 through the driver and checks the block rate;
//   check <file>     checks the recording (raw 16-bit stereo at 44100 Hz) for that sine.
// Exit code 0 on success, 1 on a failed check, 77 when there is no DirectSound device.

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/drivers/DirectSoundDriver.h"

using namespace Ombix::Kelvane;

namespace {

constexpr double rate = 44100.0;
// Large enough that a busy test machine does not miss a half.
constexpr int blockSize = 2048;
constexpr double frequency = 441.0;
constexpr float amplitude = 0.5f;
const double pi = std::acos(-1.0);

class SineHandler : public IAudioHandler {
 public:
  void OnBufferSwitch(bool) override {
    float* left = driver->OutputBuffer(0);
    float* right = driver->OutputBuffer(1);
    for (int i = 0; i < blockSize && left && right; ++i, ++frame)
      left[i] = right[i] = amplitude * static_cast<float>(std::sin(2.0 * pi * frequency * frame / rate));
    driver->FinishBlock();
    ++blocks;
  }
  void OnBufferSizeChanged(int) override {}
  void OnSampleRateChanged(double) override {}
  void OnResetRequest() override {}

  IAudioDriver* driver = nullptr;
  long long frame = 0;
  volatile long blocks = 0;
};

int Play(double seconds) {
  SineHandler handler;
  DirectSoundDriver driver(nullptr, &handler);
  handler.driver = &driver;
  if (driver.DeviceCount() == 0 || !driver.OpenDevice(0)) {
    std::printf("no DirectSound device\n");
    return 77;
  }
  if (!driver.SetBufferSize(blockSize) || !driver.Start()) {
    std::printf("playback did not start\n");
    return 1;
  }
  // Let playback settle, then count blocks over a measured span.
  Sleep(500);
  const long firstBlocks = handler.blocks;
  const DWORD start = GetTickCount();
  Sleep(static_cast<DWORD>(seconds * 1000));
  const long blocks = handler.blocks - firstBlocks;
  const double elapsed = (GetTickCount() - start) / 1000.0;
  driver.Stop();
  const double perSecond = blocks / elapsed;
  const double expected = rate / blockSize;
  std::printf("%.2f blocks per second (expected %.2f)\n", perSecond, expected);
  // A busy machine may make the thread miss the odd half, which costs two blocks.
  return std::fabs(perSecond - expected) <= 0.15 * expected ? 0 : 1;
}

int Check(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (!file) {
    std::printf("cannot open %s\n", path);
    return 1;
  }
  std::vector<std::int16_t> samples;
  std::int16_t frame[2];
  while (std::fread(frame, sizeof frame, 1, file) == 1) samples.push_back(frame[0]);
  std::fclose(file);
  // The part of the recording that holds the sine: from the first to the last loud sample.
  std::size_t first = 0, last = samples.size();
  while (first < last && std::abs(samples[first]) < 1000) ++first;
  while (last > first && std::abs(samples[last - 1]) < 1000) --last;
  // Leave out the fades at both ends.
  first += 4410;
  if (last < first + 44100) {
    std::printf("only %zu loud frames recorded\n", last > first ? last - first : 0);
    return 1;
  }
  last -= 4410;
  // A continuous sine follows x[n+1] = 2 cos(w) x[n] - x[n-1]; a jump (a half played twice or
  // not refilled) breaks it.
  const double recurrence = 2.0 * std::cos(2.0 * pi * frequency / rate);
  const double jump = 0.05 * amplitude * 32767;
  long glitches = 0;
  for (std::size_t i = first + 1; i + 1 < last; ++i) {
    if (std::fabs(samples[i + 1] - (recurrence * samples[i] - samples[i - 1])) > jump) {
      ++glitches;
      i += 4;
    }
  }
  // The frequency from the median period between upward zero crossings (interpolated), which the
  // odd glitch does not move.
  int peak = 0;
  std::vector<double> crossings;
  for (std::size_t i = first; i < last; ++i) {
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    if (samples[i - 1] < 0 && samples[i] >= 0)
      crossings.push_back(static_cast<double>(i - 1) +
                          samples[i - 1] / static_cast<double>(samples[i - 1] - samples[i]));
  }
  std::vector<double> periods;
  for (std::size_t i = 1; i < crossings.size(); ++i) periods.push_back(crossings[i] - crossings[i - 1]);
  if (periods.empty()) {
    std::printf("no sine recorded\n");
    return 1;
  }
  std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
  const double measured = rate / periods[periods.size() / 2];
  const int expectedPeak = static_cast<int>(amplitude * 32767);
  const long blocks = static_cast<long>((last - first) / blockSize);
  std::printf("peak %d (expected %d), frequency %.2f Hz (expected %.2f), %ld glitches in %ld blocks\n", peak,
              expectedPeak, measured, frequency, glitches, blocks);
  const bool levelRight = std::abs(peak - expectedPeak) <= expectedPeak / 50;
  const bool frequencyRight = std::fabs(measured - frequency) <= frequency / 100;
  // Other programs' load on the sound server and recorder may break the odd block; a driver that
  // fills the wrong half or misses halves breaks nearly every one.
  const bool continuous = glitches <= blocks / 2;
  return levelRight && frequencyRight && continuous ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "play") == 0) return Play(std::atof(argv[2]));
  if (argc == 3 && std::strcmp(argv[1], "check") == 0) return Check(argv[2]);
  std::printf("usage: drivers_directsound_play play <seconds> | check <file>\n");
  return 2;
}
