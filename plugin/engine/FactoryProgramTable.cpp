#include "plugin/engine/FactoryProgramTable.h"

#include <algorithm>
#include <array>

namespace {

const char* const programNames[programCount] = {
    "SYN sunrise",
    "SYN vibratin",
    "SYN FM",
    "SYN impulse",
    "SYN spacesaw",
    "SYN Combrise",
    "SYN detroid_bass",
    "SYN Synthbrass",
    "SYN Fat",
    "SYN Yeahh",
    "SYN Attackmode",
    "SYN Combie",
    "SYN DistPaths",
    "SYN X-rays",
    "SYN Gremlins",
    "SYN LaunchPod",
    "SYN Metrox",
    "SYN NeedleTrashers",
    "SYN Play wiz Phaz",
    "SYN RingBass",
    "SYN TheNumba3",
    "SYN Analogue",
    "SYN churches_fi",
    "SYN warp5",
    "SYN eaum",
    "SYN flanged",
    "SYN inside",
    "SYN intro",
    "SYN synthman",
    "SYN bassbrass",
    "SYN bontempi",
    "SYN great",
    "SYN juicybass",
    "SYN orchestral",
    "SYN wasps",
    "SYN synthkid",
    "SYN timeandspac",
    "SYN vocalman2",
    "SYN voices",
    "SYN wahmoah",
    "SYN Vintage",
    "SYN PhaserStrings",
    "SYN space squares",
    "SYN Waeuw",
    "SYN FilterStrings",
    "SYN StringsAhh",
    "SYN StringVocals",
    "SYN VocalMan",
    "SYN FormantStrings",
    "SYN Theremin",
    "SYN Pulses",
    "SYN Flute",
    "SYN Churchorgan",
    "SYN FatPhaser",
    "SYN fatsaw",
    "SYN eguitar",
    "SYN thc",
    "LD DirtFlute",
    "LD Fr3akingSw33T",
    "LD HidPhreaks",
    "LD PrettyNova",
    "LD Solid",
    "LD Timesup",
    "LD Midnight",
    "PAD SeeSawSeen",
    "PAD Sensei",
    "PAD Tear up",
    "PAD Whales",
    "PAD YaY-YaY",
    "SEQ FM climax",
    "SEQ Laserphaser",
    "SEQ fatbass",
    "SEQ Trance",
    "SEQ Hoofer",
    "SEQ Analogue 2",
    "SEQ FilterStrings",
    "SEQ RandomBeat",
    "SEQ 303",
    "SEQ Ai bass",
    "SEQ ws bass",
    "SEQ c64",
    "SEQ mad",
    "SEQ tekkno",
    "SEQ Beat FM",
    "SEQ Drimblex",
    "SEQ Groovebird",
    "SEQ Marlboro man",
    "SEQ Groove dwarf",
    "SEQ Trance",
    "SEQ arp",
    "SEQ notches",
    "SEQ electrovoice",
    "SEQ Tekkno2",
    "SEQ electro3",
    "SEQ alert",
    "SEQ indians",
    "SEQ Alien tekkno",
    "SEQ hollow",
    "SEQ sick",
    "SEQ sick 2",
    "SEQ funky",
    "SEQ the others",
    "SEQ aborigine",
    "SEQ a_a_o_u",
    "SEQ electro2",
    "SEQ computervoice",
    "SEQ altert2",
    "SEQ laserZ",
    "SEQ blaster",
    "SEQ Arkhi",
    "SEQ Randoms",
    "SEQ Thri0",
    "DRUM Analogue base",
    "DRUM claps",
    "DRUM 909 base",
    "DRUM woodblocks",
    "DRUM OpenSpace",
    "DRUM shaker",
    "ATM Data Highway",
    "ATM Zipper",
    "ATM Windish",
    "ATM Storm",
    "ATM Bunsens Theo",
    "ATM Haunted House",
    "ATM rollerballs",
    "ATM harmonic dirt",
    "ATM brainwash",
    "ATM screamer",
    "ATM neurons",
    "ATM Drone",
    "ATM brainfly",
    "ATM science fiction",
    "ATM flyhigh",
    "ATM birds",
    "ATM Ghosts",
    "ATM R2D2",
    "ATM membib",
    "ATM calling_may",
    "ATM lucky harmonics",
    "ATM drrrr",
    "ATM random",
    "ATM neurons",
    "ATM earthquake",
    "FX Timestretch",
    "FX Scratch",
    "FX Captain Future",
    "FX gamefx",
    "FX laserdrone",
    "FX laserfix2",
    "FX laserfix",
    "FX steamtrain",
    "FX noisedown",
    "FX echolot",
    "FX Evacuate now",
    "FX Signal freaqs",
    "FX SimpleSiren",
    "FX SteamEngine",
    "FX Wild FM",
    "FX FM Evil",
};

using ProgramValues = std::array<float, ParameterIndex::count>;

// Two detuned oscillator voices, one per channel, through two fat low-pass filters.
const ProgramValues sunrise = {
    0.08f,       0.41545245f, 0.6003335f, 0.08f, 0.45553324f, 0.59870416f, 0.07f,      0.01f,
    0.66499996f, 0.565f,      1.0f,       1.0f,  0.0f,        0.12f,       0.8603917f, 0.16f,
    0.50416034f, 0.01f,       0.14f,      1.0f,  0.16f,       0.0f,        0.575f,     0.04f,
    0.8809408f,  0.11f,       0.07f,      0.01f, 0.19999999f, 0.88925403f, 0.04f,      1.0f,
    0.0f,        0.0f,        0.0f,       0.0f,  0.0f,        0.0f,        0.0f,       0.0f,
    0.0f,        0.0f,        0.0f,       0.0f,  0.0f,        0.0f,        0.0f,       0.0f};

// Pulse-width and rising saw voices through two short delay filters, every step on.
const ProgramValues vibratin = {
    0.47f,       0.41545245f, 0.6003335f, 0.47f, 0.45553324f, 0.59870416f, 0.07f,      0.01f,
    0.66499996f, 0.565f,      1.0f,       1.0f,  0.0f,        0.12f,       0.8603917f, 0.16f,
    0.50416034f, 0.01f,       0.03f,      1.0f,  0.16f,       0.0f,        0.575f,     0.04f,
    0.8809408f,  0.11f,       0.07f,      0.01f, 0.19999999f, 0.88925403f, 0.04f,      1.0f,
    1.0f,        1.0f,        1.0f,       1.0f,  1.0f,        1.0f,        1.0f,       1.0f,
    1.0f,        1.0f,        1.0f,       1.0f,  1.0f,        1.0f,        1.0f,       0.0f};

// A synced triangle into a vowel filter and FM, shaped by steps in pairs.
const ProgramValues drimblex = {0.34f, 0.5f, 0.6f,  0.46f, 0.5f, 0.3f,  0.04f, 0.06f, 0.4f,  0.6f,
                                1.0f,  0.5f, 0.21f, 0.01f, 0.8f, 0.16f, 0.3f,  0.01f, 0.01f, 0.5f,
                                0.01f, 0.3f, 0.5f,  0.01f, 0.3f, 0.11f, 0.08f, 0.07f, 0.02f, 0.8f,
                                0.04f, 1.0f, 1.0f,  0.0f,  0.0f, 1.0f,  1.0f,  0.0f,  0.0f,  1.0f,
                                1.0f,  0.0f, 0.0f,  1.0f,  1.0f, 0.0f,  0.0f,  0.0f};

// A rising saw through an FM filter whose resonance a synced sine sweeps.
const ProgramValues fmEvil = {0.45f, 0.55f, 0.5f,  0.01f, 0.5f, 0.5f,  0.02f, 0.01f, 0.4f,  0.6f,
                              1.0f,  0.6f,  0.01f, 0.03f, 0.8f, 0.16f, 0.4f,  0.05f, 0.05f, 0.8f,
                              0.06f, 0.3f,  0.5f,  0.01f, 0.2f, 0.1f,  0.08f, 0.07f, 0.02f, 0.5f,
                              0.01f, 1.0f,  1.0f,  1.0f,  1.0f, 1.0f,  1.0f,  1.0f,  1.0f,  1.0f,
                              1.0f,  1.0f,  1.0f,  1.0f,  1.0f, 1.0f,  1.0f,  0.0f};

constexpr int32_t vibratinProgram = 1;
constexpr int32_t drimblexProgram = 84;
constexpr int32_t fmEvilProgram = 158;
constexpr int32_t firstSequenceProgram = 69;
constexpr int32_t firstAtmosphereProgram = 118;

// The sound of each program. Programs not yet designed on their own share the sound of the
// designed program of their part of the list.
const ProgramValues& programValues(int32_t program) {
  if (program == vibratinProgram) return vibratin;
  if (program == drimblexProgram) return drimblex;
  if (program == fmEvilProgram) return fmEvil;
  if (program >= firstAtmosphereProgram) return fmEvil;
  if (program >= firstSequenceProgram) return drimblex;
  return sunrise;
}

std::array<FactoryProgram, programCount> buildTable() {
  std::array<FactoryProgram, programCount> table{};
  for (int32_t program = 0; program < programCount; ++program) {
    copyProgramName(table[program].name, programNames[program]);
    const ProgramValues& values = programValues(program);
    std::copy(values.begin(), values.end(), table[program].values);
  }
  return table;
}

}  // namespace

const FactoryProgram* factoryProgramTable() {
  static const std::array<FactoryProgram, programCount> table = buildTable();
  return table.data();
}
