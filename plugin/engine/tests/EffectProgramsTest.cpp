#include <string>
#include <vector>

#include "ZintaraFixture.h"
#include "plugin/framework/EffectOpcodes.h"

namespace {

using EffectPrograms = ZintaraFixture;

const char* const programNames[159] = {
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

TEST_F(EffectPrograms, StartsOnTheFirstProgram) {
  EXPECT_EQ(host->dispatch(effGetProgram), 0);
  EXPECT_EQ(host->text(effGetProgramName), "SYN sunrise");
  EXPECT_EQ(host->text(effGetParamDisplay, 0), "LP Fat 7");
  EXPECT_FLOAT_EQ(host->getParameter(1), 0.41545245f);
}

TEST_F(EffectPrograms, EveryNameThroughTheIndexedOpcode) {
  for (VstInt32 program = 0; program < 159; ++program) {
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, program, -1, std::vector<char>(256).data()), 1);
    EXPECT_EQ(host->text(effGetProgramNameIndexed, program, -1), programNames[program])
        << "program " << program;
  }
  for (const VstInt32 program : {159, -1, 100000}) {
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, program, -1, std::vector<char>(256).data()), 0)
        << program;
  }
}

TEST_F(EffectPrograms, SelectionOutsideTheListChangesNothing) {
  host->dispatch(effSetProgram, 0, 5);
  for (const VstIntPtr program : {159, -1, 1000}) {
    host->dispatch(effSetProgram, 0, program);
    EXPECT_EQ(host->dispatch(effGetProgram), 5) << program;
  }
  host->dispatch(effSetProgram, 0, 158);
  EXPECT_EQ(host->dispatch(effGetProgram), 158);
  EXPECT_EQ(host->text(effGetProgramName), "FX FM Evil");
}

TEST_F(EffectPrograms, DesignedProgramsShowTheirSounds) {
  struct Case {
    VstIntPtr program;
    VstInt32 parameter;
    const char* text;
  };
  const Case cases[] = {
      {0, 3, "LP Fat 7"},
      {0, 6, "1=L 2=R"},
      {0, 7, "Bypass"},
      {0, 13, "PWM"},
      {0, 12, "none"},
      {0, 15, "Input L&R"},
      {0, 18, "Strings"},
      {0, 17, "none"},
      {0, 20, "Input L&R"},
      {0, 23, "f Filter 1&2"},
      {0, 25, "Left-Right"},
      {0, 26, "BPM x1.5"},
      {0, 27, "8"},
      {0, 28, "Downfade 3"},
      {0, 30, "f Filter 1&2"},
      {0, 31, "On"},
      {0, 32, "Off"},
      {0, 46, "Off"},
      {1, 0, "Delay"},
      {1, 3, "Delay"},
      {1, 13, "PWM"},
      {1, 18, "Saw Up"},
      {1, 12, "none"},
      {1, 17, "none"},
      {1, 15, "Input L&R"},
      {1, 20, "Input L&R"},
      {84, 0, "Vocal A"},
      {84, 3, "FM Saw"},
      {84, 6, "Filter 1->2"},
      {84, 7, "Waveshape"},
      {84, 13, "Tri"},
      {84, 12, "1/16"},
      {84, 15, "Input L&R"},
      {158, 0, "FM Tri"},
      {158, 6, "Filter 1"},
      {158, 13, "Saw Up"},
      {158, 12, "none"},
      {158, 15, "Input L&R"},
      {158, 18, "Sin"},
      {158, 17, "12"},
      {158, 20, "Q Filter 1"},
  };
  for (const Case& c : cases) {
    host->dispatch(effSetProgram, 0, c.program);
    EXPECT_EQ(host->text(effGetParamDisplay, c.parameter), c.text)
        << "program " << c.program << " parameter " << c.parameter;
  }
  struct Steps {
    VstIntPtr program;
    const char* pattern;  // one letter per step: 1 on, 0 off
  };
  for (const Steps& steps :
       {Steps{1, "1111111111111111"}, Steps{84, "1100110011001100"}, Steps{158, "1111111111111111"}}) {
    host->dispatch(effSetProgram, 0, steps.program);
    for (VstInt32 step = 0; step < 16; ++step) {
      EXPECT_EQ(host->text(effGetParamDisplay, 31 + step), steps.pattern[step] == '1' ? "On" : "Off")
          << "program " << steps.program << " step " << step + 1;
    }
  }
}

TEST_F(EffectPrograms, EditsAreKeptByTheirProgram) {
  host->dispatch(effSetProgram, 0, 3);
  host->setParameter(9, 0.25f);
  host->dispatch(effSetProgram, 0, 4);
  EXPECT_NE(host->getParameter(9), 0.25f);
  host->dispatch(effSetProgram, 0, 3);
  EXPECT_EQ(host->getParameter(9), 0.25f);
  EXPECT_EQ(host->text(effGetParamDisplay, 9), "25 %");
}

TEST_F(EffectPrograms, RenamingKeepsAtMost23Characters) {
  struct Case {
    const char* name;
    const char* kept;
  };
  const Case cases[] = {{"My lead", "My lead"},
                        {"", ""},
                        {"exactly twenty-three ch", "exactly twenty-three ch"},
                        {"a name far longer than the record can hold", "a name far longer than "}};
  host->dispatch(effSetProgram, 0, 7);
  for (const Case& c : cases) {
    std::vector<char> name(c.name, c.name + std::string(c.name).size() + 1);
    host->dispatch(effSetProgramName, 0, 0, name.data());
    EXPECT_EQ(host->text(effGetProgramName), c.kept);
    EXPECT_EQ(host->text(effGetProgramNameIndexed, 7, -1), c.kept);
  }
  EXPECT_EQ(host->text(effGetProgramNameIndexed, 8, -1), programNames[8]);
}

}  // namespace
