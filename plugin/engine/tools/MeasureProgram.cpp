// Renders factory programs of zintara3.dll as a host plays them and prints what they sound like:
//   measure_program [--dll path] [--wav folder] [--bands] [--rows file] [--rate hz] [--block frames]
//                   [--keys playings] [program...]
// Without program numbers every program is measured. A rows file holds lines of a program number
// and 48 parameter values; each line plays that program with those values instead of its own. Each program
// plays C3 and C5 at velocity 100, held 3 s and released for 3 s, at 44.1 kHz (or --rate) in blocks of 512
// frames (or --block) and a tempo of 120. --keys lists the playings instead, separated by commas, each one
// key number or keys held together joined by '+': the default is 48,72; 48+55 plays C3 and G3 together.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/engine/tools/ProgramRenderer.h"
#include "plugin/engine/tools/SoundMeasurements.h"
#include "plugin/engine/tools/WavFile.h"

namespace {

constexpr int32_t programCount = 159;
// Keys held together in one playing, and how a row names them.
struct Keys {
  std::vector<int32_t> keys;
  std::string name;
};

std::string keyName(int32_t key) {
  static const char* const notes[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  return notes[key % 12] + std::to_string(key / 12 - 1);
}

// Playings written as 48,72 or 48+55; empty when the text is not such a list.
std::vector<Keys> readPlayings(const std::string& text) {
  std::vector<Keys> playings;
  std::istringstream list(text);
  std::string playing;
  while (std::getline(list, playing, ',')) {
    Keys keys;
    std::istringstream together(playing);
    std::string key;
    while (std::getline(together, key, '+')) {
      const int32_t number = std::atoi(key.c_str());
      if (key.empty() || number < 0 || number > 127) return {};
      keys.keys.push_back(number);
      keys.name += (keys.name.empty() ? "" : "+") + keyName(number);
    }
    if (keys.keys.empty()) return {};
    playings.push_back(keys);
  }
  return playings;
}

std::string exeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// A private copy, so that the plug-in's settings file lands in a folder of its own.
std::string privateCopy(const std::string& dllPath) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "zintara-measure\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string copy = folder + "zintara3.dll";
  return CopyFileA(dllPath.c_str(), copy.c_str(), FALSE) ? copy : dllPath;
}

struct Playing {
  int32_t program;
  std::vector<float> values;
};

bool readRows(const std::string& path, std::vector<Playing>& playings) {
  std::ifstream file(path);
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    Playing playing{};
    if (!(fields >> playing.program)) continue;
    float value = 0.0f;
    while (fields >> value) playing.values.push_back(value);
    if (playing.program < 0 || playing.program >= programCount || playing.values.size() != 48) return false;
    playings.push_back(playing);
  }
  return true;
}

void printHeader() {
  std::printf("%-4s %-5s %7s %6s %6s %6s %6s %5s %6s %6s %5s %6s %5s %5s %5s %5s %5s  %s\n", "prog", "key",
              "rmsdB", "peakdB", "rawpk", "dc", "cntrHz", "low%", "moddB", "modHz", "atk", "crest", "rel",
              "lim%", "oct", "clar", "pk8ve", "name");
}

void printRow(int32_t program, const char* key, const SoundMeasurements& m, const std::string& name) {
  std::printf(
      "%-4d %-5s %7.1f %6.1f %6.1f %6.3f %6.0f %5.1f %6.1f %6.2f %5.2f %6.1f %5.2f %5.1f %5.2f %5.2f %5.2f%s "
      " %s\n",
      program, key, m.heldRmsDb, m.peakDb, m.unlimitedPeakDb, m.dcOffset, m.centroidHz, m.lowShare * 100.0,
      m.modulationDepthDb, m.modulationRateHz, m.attackSeconds, m.envelopeCrestDb, m.releaseSeconds,
      m.limiterShare * 100.0, m.centroidSpanOctaves, m.pitchClarity, m.peakSpanOctaves,
      m.finite ? "" : " NOT FINITE", name.c_str());
}

void printBands(const SoundMeasurements& m) {
  std::printf("     bands");
  for (double level : m.thirdOctaveDb) std::printf(" %.0f", level);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string dllPath = exeFolder() + "zintara3.dll";
  std::string wavFolder;
  bool bands = false;
  double sampleRate = 44100.0;
  int32_t blockSize = 512;
  std::vector<Keys> playedKeys = readPlayings("48,72");
  std::vector<Playing> playings;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--dll" && i + 1 < argc) {
      dllPath = argv[++i];
    } else if (argument == "--wav" && i + 1 < argc) {
      wavFolder = argv[++i];
    } else if (argument == "--rows" && i + 1 < argc) {
      if (!readRows(argv[++i], playings)) {
        std::fprintf(stderr, "cannot read the rows of %s\n", argv[i]);
        return 2;
      }
    } else if (argument == "--bands") {
      bands = true;
    } else if (argument == "--rate" && i + 1 < argc) {
      sampleRate = std::atof(argv[++i]);
    } else if (argument == "--block" && i + 1 < argc) {
      blockSize = std::atoi(argv[++i]);
    } else if (argument == "--keys" && i + 1 < argc) {
      playedKeys = readPlayings(argv[++i]);
      if (playedKeys.empty()) {
        std::fprintf(stderr, "cannot read the keys %s\n", argv[i]);
        return 2;
      }
    } else {
      const int32_t program = std::atoi(argument.c_str());
      if (program < 0 || program >= programCount) {
        std::fprintf(stderr, "no program %s (0..%d)\n", argument.c_str(), programCount - 1);
        return 2;
      }
      playings.push_back(Playing{program, {}});
    }
  }
  if (playings.empty()) {
    for (int32_t program = 0; program < programCount; ++program) playings.push_back(Playing{program, {}});
  }

  const ProgramRenderer renderer(privateCopy(dllPath));
  if (!renderer.loaded()) {
    std::fprintf(stderr, "cannot load %s\n", dllPath.c_str());
    return 1;
  }
  printHeader();
  for (const Playing& playing : playings) {
    const int32_t program = playing.program;
    for (std::size_t k = 0; k < playedKeys.size(); ++k) {
      const Keys& keys = playedKeys[k];
      PlayingSettings settings;
      settings.program = program;
      settings.values = playing.values;
      settings.keys = keys.keys;
      settings.sampleRate = sampleRate;
      settings.blockSize = blockSize;
      const StereoRendering rendering = renderer.render(settings);
      if (rendering.left.empty()) {
        std::fprintf(stderr, "program %d: the effect could not be created\n", program);
        return 1;
      }
      const SoundMeasurements m = measureRendering(rendering);
      printRow(program, keys.name.c_str(), m, k == 0 ? renderer.programName(program) : std::string());
      if (bands) printBands(m);
      if (!wavFolder.empty()) {
        const std::string path =
            wavFolder + "\\program-" + std::to_string(program) + "-" + keys.name + ".wav";
        if (!writeWavFile(path, rendering)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
      }
    }
  }
  return 0;
}
