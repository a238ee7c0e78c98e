// Every factory program played through the real plug-in as a host plays it: C3 and C5 at velocity
// 100, held 3 s and released for 3 s, at 44.1 kHz in blocks of 512 frames and a tempo of 120; the same at
// 48 and 96 kHz; C3 and G3 together at 44.1 kHz, in a fresh effect, after all the programs before it and
// after three others; and, for their peaks, C3 and C5 held 2 s and released for 1 s at 22.05 and
// 192 kHz.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "plugin/engine/FactoryProgramTable.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterInfo.h"
#include "plugin/engine/StepSequencer.h"
#include "plugin/engine/tools/ProgramRenderer.h"
#include "plugin/engine/tools/SoundMeasurements.h"
#include "tests/support/TestPaths.h"

namespace {

const std::vector<std::vector<int32_t>> singleKeys = {{48}, {72}};
const std::vector<std::vector<int32_t>> chord = {{48, 55}};
constexpr double tempo = 120.0;

struct ProgramSound {
  std::string name;
  std::vector<SoundMeasurements> keys;                    // one per playing: a key or a chord
  double levelDb = 0.0;                                   // held level of the playings together
  std::array<double, thirdOctaveBandCount> spectrumDb{};  // average of the playings
};

double toDb(double power) {
  return 10.0 * std::log10(std::max(power, 1e-20));
}

std::string keyText(const std::vector<int32_t>& keys) {
  std::string text = "key";
  for (int32_t key : keys) text += " " + std::to_string(key);
  return text;
}

// Every program played once for each set of keys, otherwise as base says, in program order.
std::vector<PlayingSettings> everyPlaying(const PlayingSettings& base,
                                          const std::vector<std::vector<int32_t>>& keySets) {
  std::vector<PlayingSettings> playings;
  for (int32_t program = 0; program < programCount; ++program) {
    for (const std::vector<int32_t>& keys : keySets) {
      PlayingSettings settings = base;
      settings.program = program;
      settings.keys = keys;
      playings.push_back(settings);
    }
  }
  return playings;
}

// The sounds of every program from the measurements of everyPlaying's playings, in the same order.
std::vector<ProgramSound> soundsOf(const std::vector<SoundMeasurements>& measured,
                                   const std::vector<std::vector<int32_t>>& keySets) {
  if (measured.size() != static_cast<std::size_t>(programCount) * keySets.size()) return {};
  std::vector<ProgramSound> sounds(programCount);
  const double playings = static_cast<double>(keySets.size());
  auto next = measured.begin();
  for (int32_t program = 0; program < programCount; ++program) {
    ProgramSound& sound = sounds[program];
    sound.name = factoryProgramTable()[program].name;
    double power = 0.0;
    std::array<double, thirdOctaveBandCount> bandPower{};
    for (std::size_t k = 0; k < keySets.size(); ++k) {
      sound.keys.push_back(*next++);
      power += sound.keys.back().heldPower / playings;
      for (int32_t band = 0; band < thirdOctaveBandCount; ++band) {
        bandPower[band] += std::pow(10.0, sound.keys.back().thirdOctaveDb[band] / 10.0) / playings;
      }
    }
    sound.levelDb = toDb(power);
    for (int32_t band = 0; band < thirdOctaveBandCount; ++band)
      sound.spectrumDb[band] = toDb(bandPower[band]);
  }
  return sounds;
}

// Plays every program once for each set of keys, otherwise as base says, each in a fresh effect.
std::vector<ProgramSound> renderAllPrograms(const ProgramRenderer& renderer, const PlayingSettings& base,
                                            const std::vector<std::vector<int32_t>>& keySets) {
  std::vector<SoundMeasurements> measured;
  for (const PlayingSettings& playing : everyPlaying(base, keySets)) {
    measured.push_back(measureRendering(renderer.render(playing)));
  }
  return soundsOf(measured, keySets);
}

// The same, all in one effect, one program after the other: each plays after all the programs before it.
std::vector<ProgramSound> renderAllProgramsInTurn(const ProgramRenderer& renderer,
                                                  const PlayingSettings& base,
                                                  const std::vector<std::vector<int32_t>>& keySets) {
  std::vector<SoundMeasurements> measured;
  renderer.renderInTurn(everyPlaying(base, keySets), [&measured](const StereoRendering& rendering) {
    measured.push_back(measureRendering(rendering));
  });
  return soundsOf(measured, keySets);
}

// The same, each program in an effect of its own after three programs far from it in the table played
// alike.
std::vector<ProgramSound> renderAllProgramsAfterOthers(const ProgramRenderer& renderer,
                                                       const PlayingSettings& base,
                                                       const std::vector<std::vector<int32_t>>& keySets) {
  constexpr int32_t distances[] = {40, 80, 120};
  std::vector<SoundMeasurements> measured;
  for (const PlayingSettings& playing : everyPlaying(base, keySets)) {
    std::vector<PlayingSettings> playings;
    for (int32_t distance : distances) {
      playings.push_back(playing);
      playings.back().program = (playing.program + distance) % programCount;
    }
    playings.push_back(playing);
    std::size_t played = 0;
    renderer.renderInTurn(playings, [&](const StereoRendering& rendering) {
      if (++played == playings.size()) measured.push_back(measureRendering(rendering));
    });
  }
  return soundsOf(measured, keySets);
}

PlayingSettings playedAt(double sampleRate, double heldSeconds = 3.0, double releasedSeconds = 3.0) {
  PlayingSettings settings;
  settings.sampleRate = sampleRate;
  settings.heldSeconds = heldSeconds;
  settings.releasedSeconds = releasedSeconds;
  settings.tempo = tempo;
  return settings;
}

// The playings of every program, made once for all tests of the suite.
struct Playings {
  std::vector<ProgramSound> at44k;  // C3 and C5
  std::vector<ProgramSound> at48k;
  std::vector<ProgramSound> at96k;
  std::vector<ProgramSound> chords;  // C3 and G3 together at 44.1 kHz
  // The chords again after other programs in the same effect: the oscillator's phases and levels and the
  // random values run on from one program to the next, so a level can depend on what played before.
  std::vector<ProgramSound> chordsInTurn;
  std::vector<ProgramSound> chordsAfterOthers;
  std::vector<ProgramSound> at22k;  // C3 and C5, shorter: for the peaks only
  std::vector<ProgramSound> at192k;
};

std::unique_ptr<Playings> renderPlayings() {
  auto playings = std::make_unique<Playings>();
  const std::string folder = Testing::makeTempFolder("zintara-program-sound");
  const std::string plugin = folder + "zintara3.dll";
  if (!CopyFileA((Testing::binaryFolder() + "zintara3.dll").c_str(), plugin.c_str(), FALSE)) return playings;
  const ProgramRenderer renderer(plugin);
  if (!renderer.loaded()) return playings;
  playings->at44k = renderAllPrograms(renderer, playedAt(44100.0), singleKeys);
  playings->at48k = renderAllPrograms(renderer, playedAt(48000.0), singleKeys);
  playings->at96k = renderAllPrograms(renderer, playedAt(96000.0), singleKeys);
  playings->chords = renderAllPrograms(renderer, playedAt(44100.0), chord);
  playings->chordsInTurn = renderAllProgramsInTurn(renderer, playedAt(44100.0), chord);
  playings->chordsAfterOthers = renderAllProgramsAfterOthers(renderer, playedAt(44100.0), chord);
  playings->at22k = renderAllPrograms(renderer, playedAt(22050.0, 2.0, 1.0), singleKeys);
  playings->at192k = renderAllPrograms(renderer, playedAt(192000.0, 2.0, 1.0), singleKeys);
  return playings;
}

class FactoryProgramSound : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    playings = renderPlayings().release();
    sounds = &playings->at44k;
  }
  static void TearDownTestSuite() {
    delete playings;
    playings = nullptr;
    sounds = nullptr;
  }
  void SetUp() override {
    for (const std::vector<ProgramSound>* all :
         {&playings->at44k, &playings->at48k, &playings->at96k, &playings->chords, &playings->chordsInTurn,
          &playings->chordsAfterOthers, &playings->at22k, &playings->at192k}) {
      ASSERT_EQ(all->size(), static_cast<std::size_t>(programCount));
    }
  }

  static bool hasPrefix(const std::string& name, const char* prefix) { return name.rfind(prefix, 0) == 0; }
  static std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
  }

  static Playings* playings;
  static std::vector<ProgramSound>* sounds;  // at 44.1 kHz
};

Playings* FactoryProgramSound::playings = nullptr;
std::vector<ProgramSound>* FactoryProgramSound::sounds = nullptr;

const float* valuesOf(int32_t program) {
  return factoryProgramTable()[program].values;
}

int32_t entryOf(int32_t program, int32_t index) {
  return decodeParameterEntry(index, valuesOf(program)[index]);
}

std::string entryText(int32_t program, int32_t index) {
  const char* text = menuEntryText(parameterInfo(index).menu, entryOf(program, index));
  return text ? text : "";
}

// The filter types that the routing actually uses.
std::vector<std::string> filtersInUse(int32_t program) {
  constexpr int32_t filterOneRoutings[] = {1, 3, 4, 5, 6, 7};
  constexpr int32_t filterTwoRoutings[] = {2, 3, 4, 5, 6, 7};
  const int32_t routing = entryOf(program, ParameterIndex::Routing);
  std::vector<std::string> filters;
  if (std::count(std::begin(filterOneRoutings), std::end(filterOneRoutings), routing)) {
    filters.push_back(entryText(program, ParameterIndex::FilterType1));
  }
  if (std::count(std::begin(filterTwoRoutings), std::end(filterTwoRoutings), routing)) {
    filters.push_back(entryText(program, ParameterIndex::FilterType2));
  }
  return filters;
}

bool usesFilter(int32_t program, const std::vector<std::string>& names) {
  for (const std::string& filter : filtersInUse(program)) {
    if (std::find(names.begin(), names.end(), filter) != names.end()) return true;
  }
  return false;
}

// Loud enough, within full scale, hardly limited, without offset.
void expectAudibleAndClean(const std::vector<ProgramSound>& sounds,
                           const std::vector<std::vector<int32_t>>& keySets, const std::string& setting) {
  for (const ProgramSound& sound : sounds) {
    for (std::size_t k = 0; k < keySets.size(); ++k) {
      const SoundMeasurements& m = sound.keys[k];
      const std::string where = sound.name + " " + keyText(keySets[k]) + setting;
      ASSERT_TRUE(m.finite) << where;
      EXPECT_GE(m.heldRmsDb, -36.0) << where;
      EXPECT_LE(m.peakDb, 0.0) << where;
      EXPECT_LE(m.limiterShare, 0.05) << where;
      EXPECT_LT(m.dcOffset, 0.02) << where;
    }
  }
}

void expectLevelsNearTheirMedian(const std::vector<ProgramSound>& sounds, const std::string& setting) {
  std::vector<double> levels;
  for (const ProgramSound& sound : sounds) levels.push_back(sound.levelDb);
  std::nth_element(levels.begin(), levels.begin() + programCount / 2, levels.end());
  const double median = levels[programCount / 2];
  for (const ProgramSound& sound : sounds) {
    EXPECT_NEAR(sound.levelDb, median, 6.0) << sound.name << setting;
  }
}

TEST_F(FactoryProgramSound, EveryProgramIsAudibleAndClean) {
  expectAudibleAndClean(*sounds, singleKeys, "");
}

TEST_F(FactoryProgramSound, LevelsStayNearTheMedian) {
  expectLevelsNearTheirMedian(*sounds, "");
}

// Most users play at 48 kHz; the programs keep their sound and level there and at 96 kHz.
TEST_F(FactoryProgramSound, EveryProgramIsAudibleAndCleanAt48And96kHz) {
  expectAudibleAndClean(playings->at48k, singleKeys, " at 48 kHz");
  expectAudibleAndClean(playings->at96k, singleKeys, " at 96 kHz");
}

TEST_F(FactoryProgramSound, LevelsStayWithin6dBOf44kHzAt48And96kHz) {
  for (int32_t program = 0; program < programCount; ++program) {
    const double level = (*sounds)[program].levelDb;
    EXPECT_NEAR(playings->at48k[program].levelDb, level, 6.0) << (*sounds)[program].name << " at 48 kHz";
    EXPECT_NEAR(playings->at96k[program].levelDb, level, 6.0) << (*sounds)[program].name << " at 96 kHz";
  }
}

// No sample reaches the output's clip at -5..5 at any common sample rate.
TEST_F(FactoryProgramSound, NoProgramReachesTheOutputClampFrom22To192kHz) {
  const double clampDb = 20.0 * std::log10(5.0);
  const struct {
    const std::vector<ProgramSound>* sounds;
    const char* rate;
  } rates[] = {{&playings->at22k, "22.05"},
               {&playings->at44k, "44.1"},
               {&playings->at48k, "48"},
               {&playings->at96k, "96"},
               {&playings->at192k, "192"}};
  for (const auto& r : rates) {
    for (const ProgramSound& sound : *r.sounds) {
      for (std::size_t k = 0; k < singleKeys.size(); ++k) {
        EXPECT_LT(sound.keys[k].unlimitedPeakDb, clampDb - 0.05)
            << sound.name << " " << keyText(singleKeys[k]) << " at " << r.rate << " kHz";
      }
    }
  }
}

// Two keys held together must not clip either, and keep their level near that of the other programs.
TEST_F(FactoryProgramSound, ChordsAreCleanAndNearTheMedian) {
  expectAudibleAndClean(playings->chords, chord, "");
  expectLevelsNearTheirMedian(playings->chords, " (chord)");
}

// Nor after other programs: what played before must not lift a chord into the limiter or far from the
// other programs' level.
TEST_F(FactoryProgramSound, ChordsAreCleanAndNearTheMedianAfterOtherPrograms) {
  expectAudibleAndClean(playings->chordsInTurn, chord, " after the programs before it");
  expectLevelsNearTheirMedian(playings->chordsInTurn, " (chord after the programs before it)");
  expectAudibleAndClean(playings->chordsAfterOthers, chord, " after three others");
  expectLevelsNearTheirMedian(playings->chordsAfterOthers, " (chord after three others)");
}

TEST_F(FactoryProgramSound, NoTwoProgramsAreAlike) {
  for (int32_t a = 0; a < programCount; ++a) {
    for (int32_t b = a + 1; b < programCount; ++b) {
      bool otherEntry = false;
      double distance = 0.0;
      for (int32_t index = 0; index < ParameterIndex::count; ++index) {
        if (parameterInfo(index).display == DisplayKind::Menu) {
          otherEntry = otherEntry || entryOf(a, index) != entryOf(b, index);
        } else {
          distance += std::fabs(valuesOf(a)[index] - valuesOf(b)[index]);
        }
      }
      double spectralDifference = 0.0;
      for (int32_t band = 0; band < thirdOctaveBandCount; ++band) {
        spectralDifference = std::max(
            spectralDifference, std::fabs((*sounds)[a].spectrumDb[band] - (*sounds)[b].spectrumDb[band]));
      }
      const std::string pair = (*sounds)[a].name + " / " + (*sounds)[b].name;
      EXPECT_TRUE(otherEntry || distance >= 1.0) << pair;
      EXPECT_GE(spectralDifference, 3.0) << pair;
    }
  }
}

TEST_F(FactoryProgramSound, SequencesMoveWithTheStepsAtTheTempo) {
  for (int32_t program = 0; program < programCount; ++program) {
    const ProgramSound& sound = (*sounds)[program];
    if (!hasPrefix(sound.name, "SEQ ")) continue;
    ASSERT_NE(entryOf(program, ParameterIndex::StepDestination), 0) << sound.name;
    const double stepSeconds =
        60.0 / tempo / (16.0 * stepPatternsPerBeat(entryOf(program, ParameterIndex::StepSync)));
    for (const SoundMeasurements& m : sound.keys) {
      EXPECT_GE(m.modulationDepthDb, 6.0) << sound.name;
      ASSERT_GT(m.modulationRateHz, 0.0) << sound.name;
      // The level repeats after a whole number of steps.
      const double steps = 1.0 / m.modulationRateHz / stepSeconds;
      EXPECT_GE(std::round(steps), 1.0) << sound.name;
      EXPECT_NEAR(steps, std::round(steps), 0.15) << sound.name;
    }
  }
}

TEST_F(FactoryProgramSound, DrumsArePercussive) {
  for (const ProgramSound& sound : *sounds) {
    if (!hasPrefix(sound.name, "DRUM ")) continue;
    for (const SoundMeasurements& m : sound.keys) EXPECT_GE(m.envelopeCrestDb, 12.0) << sound.name;
  }
}

TEST_F(FactoryProgramSound, PadsAreSteadyAndSoftEdged) {
  for (const ProgramSound& sound : *sounds) {
    if (!hasPrefix(sound.name, "PAD ")) continue;
    for (const SoundMeasurements& m : sound.keys) {
      EXPECT_LE(m.modulationDepthDb, 6.0) << sound.name;
      EXPECT_GE(m.attackSeconds, 0.03) << sound.name;
      EXPECT_GE(m.releaseSeconds, 0.3) << sound.name;
    }
  }
}

TEST_F(FactoryProgramSound, LeadsAreBrightSingleLines) {
  for (const ProgramSound& sound : *sounds) {
    if (!hasPrefix(sound.name, "LD ")) continue;
    for (const SoundMeasurements& m : sound.keys) {
      EXPECT_GE(m.centroidHz, 1200.0) << sound.name;
      EXPECT_GE(m.pitchClarity, 0.8) << sound.name;
    }
  }
}

TEST_F(FactoryProgramSound, AtmospheresEvolve) {
  for (const ProgramSound& sound : *sounds) {
    if (!hasPrefix(sound.name, "ATM ")) continue;
    for (const SoundMeasurements& m : sound.keys) {
      const bool evolves = m.releaseSeconds >= 0.5 || m.modulationDepthDb >= 3.0 ||
                           m.centroidSpanOctaves >= 0.3 || m.peakSpanOctaves >= 0.3;
      EXPECT_TRUE(evolves) << sound.name;
    }
  }
}

TEST_F(FactoryProgramSound, EffectsSweepOverAnOctave) {
  for (const ProgramSound& sound : *sounds) {
    if (!hasPrefix(sound.name, "FX ")) continue;
    for (const SoundMeasurements& m : sound.keys) {
      EXPECT_GE(std::max(m.centroidSpanOctaves, m.peakSpanOctaves), 1.0) << sound.name;
    }
  }
}

TEST_F(FactoryProgramSound, NamesShowWhatTheyName) {
  const std::vector<std::string> fm = {"FM Sine", "FM Tri", "FM Saw"};
  const std::vector<std::string> phaser = {"Phaser"};
  const std::vector<std::string> comb = {"Comb1", "Comb2", "Comb5"};
  const std::vector<std::string> vocal = {"Vocals",  "Vocal A", "Vocal U", "Vocal E",
                                          "Vocal I", "Vocal O", "Vocals2"};
  constexpr int32_t volumeEntry = 7;
  constexpr int32_t compressorEntry = 10;
  for (int32_t program = 0; program < programCount; ++program) {
    const std::string& name = (*sounds)[program].name;
    const std::string text = lower(name);
    if (name.find("FM") != std::string::npos) {
      EXPECT_TRUE(usesFilter(program, fm)) << name;
    }
    if (text.find("phaser") != std::string::npos) {
      EXPECT_TRUE(usesFilter(program, phaser)) << name;
    }
    if (text.find("comb") != std::string::npos) {
      EXPECT_TRUE(usesFilter(program, comb)) << name;
    }
    if (text.find("vocal") != std::string::npos || text.find("voice") != std::string::npos) {
      EXPECT_TRUE(usesFilter(program, vocal)) << name;
    }
    if (text.find("dist") != std::string::npos || text.find("dirt") != std::string::npos) {
      const int32_t type = entryOf(program, ParameterIndex::DistortionType);
      EXPECT_TRUE(type != 0 && type != volumeEntry && type != compressorEntry) << name;
      EXPECT_GE(valuesOf(program)[ParameterIndex::Drive], 0.3f) << name;
    }
    if (text.find("bass") != std::string::npos) {
      EXPECT_GE((*sounds)[program].keys[0].lowShare, 0.3) << name;
    }
  }
}

}  // namespace
