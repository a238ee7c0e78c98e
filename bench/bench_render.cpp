// Renders every factory program for 10 seconds at 44.1 kHz in 512-frame blocks, once with one held
// note and once with eight, and prints how many times faster than real time each ran, with the
// median and the slowest program of each run. Then it splits the cost of the three slowest programs
// of each run by stage: each stage is switched off in turn (the oscillator by turning both LFOs'
// destinations off, the filters by the routing "Bypass", the distortion and the delay by their type
// and send) and its share is the rendering time this saves; the rest (input stage, DC blocker, mix,
// limiter and control ticks) is what remains. One thread, the effect linked in.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ProgramRecord.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/VstTimeInfo.h"

namespace {

using namespace ParameterIndex;

constexpr float sampleRate = 44100.0f;
constexpr int32_t blockSize = 512;
constexpr double seconds = 10.0;
// The stage split renders each variant for two seconds several times, the variants in turn, and keeps
// the fastest try of each. Without the oscillator a program is silent: a quarter second of the whole
// program before every try keeps the engine from falling asleep (after five silent seconds).
constexpr double splitSeconds = 2.0;
constexpr double wakeSeconds = 0.25;
constexpr int32_t splitTries = 5;
constexpr int32_t splitPrograms = 3;

VstTimeInfo hostTime{};

VstIntPtr benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&hostTime);
  return 0;
}

// A stage and the parameters that switch it off (at value 0).
struct Stage {
  const char* name;
  std::vector<int32_t> parameters;
};

const Stage stages[] = {
    {"oscillator", {Lfo1Destination, Lfo2Destination}},
    {"filters", {Routing}},
    {"distortion", {DistortionType}},
    {"delay", {DelaySend}},
};

// Times faster than real time of one program with the given held keys, rendered for duration seconds;
// the parameters listed are set to 0 for the rendering and restored afterwards.
double renderProgram(OmAudio& effect, int32_t program, const std::vector<int8_t>& keys, double duration,
                     const std::vector<int32_t>& switchedOff = {}) {
  effect.setProgram(program);
  std::vector<std::pair<int32_t, float>> saved;
  for (int32_t index : switchedOff) {
    saved.emplace_back(index, effect.getParameter(index));
    effect.setParameter(index, 0.0f);
  }
  for (int8_t key : keys) effect.noteOn(key, 100);
  std::vector<float> left(blockSize);
  std::vector<float> right(blockSize);
  float* outputs[2] = {left.data(), right.data()};
  const int64_t blocks = static_cast<int64_t>(duration * sampleRate / blockSize);
  const auto start = std::chrono::steady_clock::now();
  for (int64_t block = 0; block < blocks; ++block) effect.processReplacing(nullptr, outputs, blockSize);
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (const auto& [index, value] : saved) effect.setParameter(index, value);
  return static_cast<double>(blocks * blockSize) / sampleRate / elapsed;
}

void printStageSplit(OmAudio& effect, const std::vector<double>& speeds, const std::vector<int8_t>& keys) {
  std::vector<int32_t> order(speeds.size());
  for (int32_t program = 0; program < static_cast<int32_t>(order.size()); ++program) order[program] = program;
  std::sort(order.begin(), order.end(), [&speeds](int32_t a, int32_t b) { return speeds[a] < speeds[b]; });
  std::printf("cost by stage of the %d slowest (share of the rendering time):\n", splitPrograms);
  std::printf("%4s %-24s %9s", "", "", "whole");
  for (const Stage& stage : stages) std::printf(" %10s", stage.name);
  std::printf(" %10s\n", "rest");
  constexpr int32_t variantCount = 1 + static_cast<int32_t>(std::size(stages));
  for (int32_t rank = 0; rank < splitPrograms && rank < static_cast<int32_t>(order.size()); ++rank) {
    const int32_t program = order[rank];
    // Variant 0 is the whole program, variant 1 + s the program without stage s.
    double fastest[variantCount] = {};
    for (int32_t tryIndex = 0; tryIndex < splitTries; ++tryIndex) {
      for (int32_t variant = 0; variant < variantCount; ++variant) {
        renderProgram(effect, program, keys, wakeSeconds);
        const std::vector<int32_t> off =
            variant == 0 ? std::vector<int32_t>() : stages[variant - 1].parameters;
        fastest[variant] =
            std::max(fastest[variant], renderProgram(effect, program, keys, splitSeconds, off));
      }
    }
    char name[32] = {};
    effect.getProgramName(name);
    std::printf("%4d %-24s %7.1f x", program, name, fastest[0]);
    double rest = 1.0;
    for (int32_t variant = 1; variant < variantCount; ++variant) {
      // Seconds of rendering per second of sound, with and without the stage.
      const double share = (1.0 / fastest[0] - 1.0 / fastest[variant]) * fastest[0];
      rest -= share;
      std::printf(" %9.0f%%", share * 100.0);
    }
    std::printf(" %9.0f%%\n", rest * 100.0);
  }
}

// Renders every program and prints the figures; answers the summary line.
std::string runAll(OmAudio& effect, const char* title, const std::vector<int8_t>& keys) {
  std::printf("\n%s: times real time per program\n", title);
  std::vector<double> speeds;
  int32_t slowest = 0;
  for (int32_t program = 0; program < programCount; ++program) {
    const double speed = renderProgram(effect, program, keys, seconds);
    char name[32] = {};
    effect.getProgramName(name);
    std::printf("%4d %-24s %9.1f x%s\n", program, name, speed,
                effect.sleeping ? "  (asleep at the end)" : "");
    if (speeds.empty() || speed < speeds[slowest]) slowest = program;
    speeds.push_back(speed);
  }
  std::vector<double> sorted = speeds;
  std::sort(sorted.begin(), sorted.end());
  char summary[128];
  std::snprintf(summary, sizeof summary, "%s: median %.1f x, slowest %.1f x (program %d)", title,
                sorted[sorted.size() / 2], sorted.front(), slowest);
  std::printf("%s\n", summary);
  printStageSplit(effect, speeds, keys);
  return summary;
}

}  // namespace

int main() {
  hostTime.tempo = 120.0;
  hostTime.flags = kVstTempoValid;
  auto effect = std::make_unique<OmAudio>(&benchHost);
  effect->setSampleRate(sampleRate);
  effect->setBlockSize(blockSize);
  const std::string oneNote = runAll(*effect, "one note", {60});
  const std::string eightNotes = runAll(*effect, "eight notes", {48, 52, 55, 60, 64, 67, 71, 74});
  std::printf("\n%s\n%s\n", oneNote.c_str(), eightNotes.c_str());
  return 0;
}
