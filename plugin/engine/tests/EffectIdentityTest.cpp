#include <string>
#include <vector>

#include "ZintaraFixture.h"
#include "plugin/framework/EffectFlags.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"

namespace {

using EffectIdentity = ZintaraFixture;

TEST_F(EffectIdentity, RecordDescribesAStereoSynthWithoutInputs) {
  const AEffect* effect = host->effect();
  EXPECT_EQ(effect->magic, kEffectMagic);
  EXPECT_EQ(effect->uniqueID, ('O' << 24) | ('m' << 16) | ('F' << 8) | 'S');
  EXPECT_EQ(effect->numInputs, 0);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->numParams, 48);
  EXPECT_EQ(effect->numPrograms, 159);
  // The editor is made with the effect, which then claims it.
  EXPECT_EQ(effect->flags, effFlagsCanReplacing | effFlagsIsSynth | effFlagsHasEditor);
}

TEST_F(EffectIdentity, AsksForTheHostVersionThenForMidi) {
  const std::vector<RecordingHost::Call>& calls = host->calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls.front().opcode, audioMasterVersion);
  EXPECT_EQ(calls.back().opcode, audioMasterWantMidi);
  EXPECT_EQ(calls.back().value, 1);
}

// A host that passes no pointers: no opcode crashes, and those that would answer through the
// pointer answer 0.
TEST_F(EffectIdentity, EveryOpcodeWithoutPointersAnswersSafely) {
  for (VstInt32 opcode = 0; opcode <= 80; ++opcode) {
    if (opcode == effClose) continue;
    const VstIntPtr answer = host->dispatch(opcode, 0, 0, nullptr, 0.0f);
    if (opcode == effGetProgramName || opcode == effEditGetRect || opcode == effGetSpeakerArrangement ||
        opcode == effGetEffectName || opcode == effGetParamName) {
      EXPECT_EQ(answer, 0) << "opcode " << opcode;
    }
  }
  EXPECT_EQ(host->dispatch(effIdentify), 0x4E764566);
}

TEST_F(EffectIdentity, StringsAndVersions) {
  EXPECT_EQ(host->text(effGetEffectName), "Zintara3");
  EXPECT_EQ(host->text(effGetProductString), "Zintara3");
  EXPECT_EQ(host->text(effGetVendorString), "Ombix");
  EXPECT_EQ(host->dispatch(effGetEffectName, 0, 0, std::vector<char>(256).data()), 1);
  EXPECT_EQ(host->dispatch(effGetVendorVersion), 1000);
  EXPECT_EQ(host->dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(host->dispatch(effGetPlugCategory), 1);
}

TEST_F(EffectIdentity, CanDoAnswersWholeNamesOnly) {
  struct Case {
    const char* capability;
    VstIntPtr answer;
  };
  const Case cases[] = {{"receiveVstEvents", 1},   {"receiveVstMidiEvent", 1},
                        {"midiProgramNames", 1},   {"receiveVstTimeInfo", 1},
                        {"receiveVstEventsX", -1}, {"receiveVstEvent", -1},
                        {"sendVstEvents", -1},     {"", -1},
                        {"ReceiveVstEvents", -1}};
  for (const Case& c : cases) EXPECT_EQ(host->canDo(c.capability), c.answer) << c.capability;
}

TEST_F(EffectIdentity, NamesAndLabels) {
  const char* const names[48] = {
      "Filtert1", "Cutoff",   "Reso",     "Filtert2", "Cutoff2",  "Reso2",    "Routing",  "Disttype",
      "Drive",    "Volume",   "DryWet",   "LFO1f",    "LFO1sync", "LFO1shap", "LFO1send", "LFO1dest",
      "LFO2f",    "LFO2sync", "LFO2shap", "LFO2send", "LFO2dest", "Envtime",  "Envsend",  "Envdest",
      "Delaysnd", "Delaytyp", "Delaysyn", "StepSync", "StepShap", "StepSend", "StepDest", "Step1",
      "Step2",    "Step3",    "Step4",    "Step5",    "Step6",    "Step7",    "Step8",    "Step9",
      "Step10",   "Step11",   "Step12",   "Step13",   "Step14",   "Step15",   "Step16",   ""};
  for (VstInt32 index = 0; index < 48; ++index) {
    EXPECT_EQ(host->text(effGetParamName, index), names[index]) << "parameter " << index;
    const bool hertz = index == 1 || index == 4;
    const bool quality = index == 2 || index == 5;
    EXPECT_EQ(host->text(effGetParamLabel, index), hertz     ? "Hz"
                                                   : quality ? "Q"
                                                             : "")
        << "parameter " << index;
  }
  for (const VstInt32 index : {-1, 48, 1000}) {
    EXPECT_EQ(host->text(effGetParamName, index), "?") << index;
    EXPECT_EQ(host->text(effGetParamLabel, index), "?") << index;
    EXPECT_EQ(host->text(effGetParamDisplay, index), "Error") << index;
  }
}

TEST_F(EffectIdentity, ParametersOutsideTheRangeStoreNothing) {
  host->setParameter(48, 0.7f);
  host->setParameter(-1, 0.7f);
  EXPECT_EQ(host->getParameter(48), 0.0f);
  EXPECT_EQ(host->getParameter(-1), 0.0f);
  host->setParameter(9, 1.5f);
  EXPECT_EQ(host->getParameter(9), 1.5f);
}

struct MenuCase {
  VstInt32 parameter;
  std::vector<const char*> entries;
  bool wraps;  // the entry index is taken modulo the menu's size
};

std::vector<MenuCase> menuCases() {
  const std::vector<const char*> filterTypes = {
      "Bypass",      "LP 30dB",     "LP Moog24",   "LP Moog6",    "LP SVF",        "LP Silk",
      "LP Fat",      "LP Fat 7",    "LP oct",      "LP Ellipt",   "LP like",       "HP 30dB",
      "HP Moog24",   "HP SVF",      "HP Fat",      "HP Ellipt",   "HP like",       "BP 15dB",
      "BP Moog",     "BP SVF",      "BP Para",     "Notch",       "Notc Moog",     "NoLP Moog",
      "Equalizer",   "Lo shelf",    "Hi shelf",    "PEQ+wide",    "PEQ+tight",     "Comb1",
      "Comb2",       "Phaser",      "Vocals",      "Vocal A",     "Vocal U",       "Vocal E",
      "Vocal I",     "Vocal O",     "PEQ+wider",   "M-Shape",     "Resonator",     "Resample",
      "AM",          "FM Sine",     "FM Tri",      "FM Saw",      "Delay",         "Allpass",
      "Reverb big1", "Reverb big2", "Reverb med1", "Reverb med2", "Reverb small1", "Reverb small2",
      "Allpass2",    "EQ Block",    "Vocals2",     "Comb5"};
  const std::vector<const char*> lfoSync = {
      "none", "32",  "24",  "16",  "12",  "8",   "6",    "4",    "3",    "2",    "3/2", "4/3", "1",
      "2/3",  "1/2", "1/3", "1/4", "1/6", "1/8", "1/12", "1/16", "1/24", "1/32", "64",  "128"};
  const std::vector<const char*> lfoShape = {"Tri",   "Tri 90\xB0", "Saw Up", "Saw Down",  "Sin",
                                             "Cos",   "Square",     "Random", "Rand Sine", "Impulse",
                                             "Noise", "PWM",        "Layer",  "Strings",   "Organ"};
  const std::vector<const char*> destinations = {
      "off",        "f Filter 1",   "f Filter 2",     "f Filter 1&2", "f Filter 1+&2-", "Q Filter 1",
      "Q Filter 2", "Q Filter 1&2", "Q Filter 1+&2-", "Volume",       "Drive",          "Delaytime",
      "Panning",    "Input L",      "Input R",        "Input L&R"};
  auto withTail = [&](std::vector<const char*> tail) {
    std::vector<const char*> entries = destinations;
    entries.insert(entries.end(), tail.begin(), tail.end());
    return entries;
  };
  return {
      {0, filterTypes, false},
      {3, filterTypes, false},
      {6,
       {"Bypass", "Filter 1", "Filter 2", "Filter 1->2", "Filter 1+2", "Filter 1-2", "1=L 2=R", "AM 1=L 2=R"},
       false},
      {7,
       {"Bypass", "Tube amp", "Hard clip", "Presence", "Wavewrap", "Waveshape", "Bitcrush", "Volume",
        "Square", "Cubic", "Compressor", "Warble"},
       false},
      {12, lfoSync, false},
      {17, lfoSync, false},
      {13, lfoShape, false},
      {18, lfoShape, false},
      {15, withTail({"Lfo 2 f", "Lfo 2 send"}), false},
      {20, withTail({"Lfo 1 f", "Lfo 1 send"}), false},
      {23,
       {"off", "f Filter 1", "f Filter 2", "f Filter 1&2", "f Filter 1+&2-", "Q Filter 1", "Q Filter 2",
        "Q Filter 1&2", "Q Filter 1+&2-", "", "Drive", "Delaytime", "Panning", "Lfo 1 f", "Lfo 2 f",
        "Lfo 1 send", "Lfo 2 send"},
       false},
      {25,
       {"Simple fb", "Left-Right fb", "L-M-R fb", "Rear fb", "Rear-Front fb", "360\xB0 fb", "360\xB0Rear fb",
        "Resonator fb", "Spring fb", "Simple", "Left-Right", "L-M-R", "Rear", "Rear-Front", "360\xB0",
        "360\xB0Rear", "Resonator", "Spring"},
       false},
      {26,
       {"BPM x16", "BPM x8", "BPM x4", "BPM x3", "BPM x2", "BPM x1.66", "BPM x1.5", "BPM x1", "BPM x0.66",
        "BPM x0.5", "BPM x0.33", "BPM x0.25"},
       true},
      {27,
       {"8",    "6",    "4",    "3",    "2",  "4/3", "1",  "2/3", "1/2", "1/3", "1/4", "1/6", "1/8",
        "1/12", "1/16", "1/24", "1/32", "12", "16",  "24", "32",  "48",  "64",  "96",  "128"},
       false},
      {28,
       {"Sharpest",  "Sharp",   "Soft",     "Softer",     "Softest",     "Exp fastest", "Exp faster",
        "Exp fast",  "Exp med", "Exp slow", "Exp slower", "Exp slowest", "Triangle",    "Ramp up",
        "Ramp down", "Pulse",   "Random",   "Downfade 1", "Downfade 2",  "Downfade 3"},
       false},
      {30, withTail({"Lfo 1 f", "Lfo 1 send", "Lfo 2 f", "Lfo 2 send", "Input volume"}), false},
  };
}

TEST_F(EffectIdentity, EveryMenuEntryDisplaysItsText) {
  for (const MenuCase& menu : menuCases()) {
    const int count = static_cast<int>(menu.entries.size());
    for (int entry = 0; entry < count; ++entry) {
      EXPECT_EQ(host->display(menu.parameter, static_cast<float>(entry + 1) / 100.0f), menu.entries[entry])
          << "parameter " << menu.parameter << " entry " << entry;
    }
    EXPECT_EQ(host->display(menu.parameter, 0.0f), menu.entries[0]) << "parameter " << menu.parameter;
    const std::string pastTheEnd = menu.wraps ? menu.entries[0] : "-";
    EXPECT_EQ(host->display(menu.parameter, static_cast<float>(count + 1) / 100.0f), pastTheEnd)
        << "parameter " << menu.parameter;
    EXPECT_EQ(host->display(menu.parameter, -0.5f), "-") << "parameter " << menu.parameter;
  }
}

TEST_F(EffectIdentity, NumericDisplays) {
  struct Case {
    VstInt32 parameter;
    float value;
    const char* text;
  };
  const Case cases[] = {
      {0, 0.08f, "LP Fat 7"}, {0, 0.9f, "-"},     {26, 0.12f, "BPM x0.25"}, {26, 0.5f, "BPM x8"},
      {1, 1.0f, "20000"},     {1, 0.0f, "50"},    {4, 1.0f, "20000"},       {4, 0.0f, "50"},
      {1, 0.5f, "1013"},      {2, 0.6f, "0.60"},  {2, 0.0f, "0.00"},        {5, 1.0f, "1.00"},
      {9, 0.565f, "56 %"},    {8, 0.0f, "0 %"},   {8, 1.0f, "100 %"},       {29, 0.999f, "99 %"},
      {31, 0.5f, "On"},       {31, 0.49f, "Off"}, {46, 1.0f, "On"},         {46, 0.0f, "Off"},
      {47, 1.0f, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(host->display(c.parameter, c.value), c.text)
        << "parameter " << c.parameter << " value " << c.value;
  }
}

}  // namespace
