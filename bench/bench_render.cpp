// Renders every factory program for 10 seconds at 44.1 kHz in 512-frame blocks, once with one held
// note and once with eight, and prints how many times faster than real time each ran, with the
// median and the slowest program of each run. One thread, the effect linked in.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ProgramRecord.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/VstTimeInfo.h"

namespace {

constexpr float sampleRate = 44100.0f;
constexpr int32_t blockSize = 512;
constexpr double seconds = 10.0;

VstTimeInfo hostTime{};

VstIntPtr benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&hostTime);
  return 0;
}

// Times faster than real time of one program with the given held keys.
double renderProgram(OmAudio& effect, int32_t program, const std::vector<int8_t>& keys) {
  effect.setProgram(program);
  for (int8_t key : keys) effect.noteOn(key, 100);
  std::vector<float> left(blockSize);
  std::vector<float> right(blockSize);
  float* outputs[2] = {left.data(), right.data()};
  const int64_t blocks = static_cast<int64_t>(seconds * sampleRate / blockSize);
  const auto start = std::chrono::steady_clock::now();
  for (int64_t block = 0; block < blocks; ++block) effect.processReplacing(nullptr, outputs, blockSize);
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return static_cast<double>(blocks * blockSize) / sampleRate / elapsed;
}

void runAll(OmAudio& effect, const char* title, const std::vector<int8_t>& keys) {
  std::printf("\n%s: times real time per program\n", title);
  std::vector<double> speeds;
  int32_t slowest = 0;
  for (int32_t program = 0; program < programCount; ++program) {
    const double speed = renderProgram(effect, program, keys);
    char name[32] = {};
    effect.getProgramName(name);
    std::printf("%4d %-24s %9.1f x%s\n", program, name, speed,
                effect.sleeping ? "  (asleep at the end)" : "");
    if (speeds.empty() || speed < speeds[slowest]) slowest = program;
    speeds.push_back(speed);
  }
  std::vector<double> sorted = speeds;
  std::sort(sorted.begin(), sorted.end());
  std::printf("%s: median %.1f x, slowest %.1f x (program %d)\n", title, sorted[sorted.size() / 2],
              sorted.front(), slowest);
}

}  // namespace

int main() {
  hostTime.tempo = 120.0;
  hostTime.flags = kVstTempoValid;
  auto effect = std::make_unique<OmAudio>(&benchHost);
  effect->setSampleRate(sampleRate);
  effect->setBlockSize(blockSize);
  runAll(*effect, "one note", {60});
  runAll(*effect, "eight notes", {48, 52, 55, 60, 64, 67, 71, 74});
  return 0;
}
