#include "plugin/engine/ParameterMenu.h"

#include <cmath>

namespace {

struct MenuTexts {
  const char* const* entries;
  int32_t count;
};

template <std::size_t N>
constexpr MenuTexts texts(const char* const (&entries)[N]) {
  return MenuTexts{entries, static_cast<int32_t>(N)};
}

const char* const filterTypeTexts[] = {
    "Bypass",      "LP 30dB",     "LP Moog24",   "LP Moog6",      "LP SVF",        "LP Silk",   "LP Fat",
    "LP Fat 7",    "LP oct",      "LP Ellipt",   "LP like",       "HP 30dB",       "HP Moog24", "HP SVF",
    "HP Fat",      "HP Ellipt",   "HP like",     "BP 15dB",       "BP Moog",       "BP SVF",    "BP Para",
    "Notch",       "Notc Moog",   "NoLP Moog",   "Equalizer",     "Lo shelf",      "Hi shelf",  "PEQ+wide",
    "PEQ+tight",   "Comb1",       "Comb2",       "Phaser",        "Vocals",        "Vocal A",   "Vocal U",
    "Vocal E",     "Vocal I",     "Vocal O",     "PEQ+wider",     "M-Shape",       "Resonator", "Resample",
    "AM",          "FM Sine",     "FM Tri",      "FM Saw",        "Delay",         "Allpass",   "Reverb big1",
    "Reverb big2", "Reverb med1", "Reverb med2", "Reverb small1", "Reverb small2", "Allpass2",  "EQ Block",
    "Vocals2",     "Comb5"};

const char* const routingTexts[] = {"Bypass",     "Filter 1",   "Filter 2", "Filter 1->2",
                                    "Filter 1+2", "Filter 1-2", "1=L 2=R",  "AM 1=L 2=R"};

const char* const distortionTexts[] = {"Bypass",   "Tube amp",  "Hard clip",  "Presence",
                                       "Wavewrap", "Waveshape", "Bitcrush",   "Volume",
                                       "Square",   "Cubic",     "Compressor", "Warble"};

const char* const lfoSyncTexts[] = {"none", "32",   "24",   "16",   "12",   "8",   "6",   "4",   "3",
                                    "2",    "3/2",  "4/3",  "1",    "2/3",  "1/2", "1/3", "1/4", "1/6",
                                    "1/8",  "1/12", "1/16", "1/24", "1/32", "64",  "128"};

const char* const lfoShapeTexts[] = {"Tri",   "Tri 90\xB0", "Saw Up", "Saw Down",  "Sin",
                                     "Cos",   "Square",     "Random", "Rand Sine", "Impulse",
                                     "Noise", "PWM",        "Layer",  "Strings",   "Organ"};

const char* const lfo1DestinationTexts[] = {
    "off",        "f Filter 1",   "f Filter 2",     "f Filter 1&2", "f Filter 1+&2-", "Q Filter 1",
    "Q Filter 2", "Q Filter 1&2", "Q Filter 1+&2-", "Volume",       "Drive",          "Delaytime",
    "Panning",    "Input L",      "Input R",        "Input L&R",    "Lfo 2 f",        "Lfo 2 send"};

const char* const lfo2DestinationTexts[] = {
    "off",        "f Filter 1",   "f Filter 2",     "f Filter 1&2", "f Filter 1+&2-", "Q Filter 1",
    "Q Filter 2", "Q Filter 1&2", "Q Filter 1+&2-", "Volume",       "Drive",          "Delaytime",
    "Panning",    "Input L",      "Input R",        "Input L&R",    "Lfo 1 f",        "Lfo 1 send"};

const char* const envelopeDestinationTexts[] = {
    "off",        "f Filter 1", "f Filter 2",   "f Filter 1&2",   "f Filter 1+&2-",
    "Q Filter 1", "Q Filter 2", "Q Filter 1&2", "Q Filter 1+&2-", "",
    "Drive",      "Delaytime",  "Panning",      "Lfo 1 f",        "Lfo 2 f",
    "Lfo 1 send", "Lfo 2 send"};

const char* const delayTypeTexts[] = {
    "Simple fb",      "Left-Right fb", "L-M-R fb",  "Rear fb",     "Rear-Front fb", "360\xB0 fb",
    "360\xB0Rear fb", "Resonator fb",  "Spring fb", "Simple",      "Left-Right",    "L-M-R",
    "Rear",           "Rear-Front",    "360\xB0",   "360\xB0Rear", "Resonator",     "Spring"};

const char* const delaySyncTexts[] = {"BPM x16",   "BPM x8",    "BPM x4",    "BPM x3",
                                      "BPM x2",    "BPM x1.66", "BPM x1.5",  "BPM x1",
                                      "BPM x0.66", "BPM x0.5",  "BPM x0.33", "BPM x0.25"};

const char* const stepSyncTexts[] = {"8",   "6",   "4",   "3",   "2",    "4/3",  "1",    "2/3",  "1/2",
                                     "1/3", "1/4", "1/6", "1/8", "1/12", "1/16", "1/24", "1/32", "12",
                                     "16",  "24",  "32",  "48",  "64",   "96",   "128"};

const char* const stepShapeTexts[] = {"Sharpest",    "Sharp",       "Soft",       "Softer",     "Softest",
                                      "Exp fastest", "Exp faster",  "Exp fast",   "Exp med",    "Exp slow",
                                      "Exp slower",  "Exp slowest", "Triangle",   "Ramp up",    "Ramp down",
                                      "Pulse",       "Random",      "Downfade 1", "Downfade 2", "Downfade 3"};

const char* const stepDestinationTexts[] = {
    "off",        "f Filter 1",   "f Filter 2",     "f Filter 1&2", "f Filter 1+&2-", "Q Filter 1",
    "Q Filter 2", "Q Filter 1&2", "Q Filter 1+&2-", "Volume",       "Drive",          "Delaytime",
    "Panning",    "Input L",      "Input R",        "Input L&R",    "Lfo 1 f",        "Lfo 1 send",
    "Lfo 2 f",    "Lfo 2 send",   "Input volume"};

// In the order of ParameterMenu.
const MenuTexts menus[parameterMenuCount] = {texts(filterTypeTexts),      texts(routingTexts),
                                             texts(distortionTexts),      texts(lfoSyncTexts),
                                             texts(lfoShapeTexts),        texts(lfo1DestinationTexts),
                                             texts(lfo2DestinationTexts), texts(envelopeDestinationTexts),
                                             texts(delayTypeTexts),       texts(delaySyncTexts),
                                             texts(stepSyncTexts),        texts(stepShapeTexts),
                                             texts(stepDestinationTexts)};

const MenuTexts* findMenu(ParameterMenu menu) {
  const auto index = static_cast<int32_t>(menu);
  return index >= 0 && index < parameterMenuCount ? &menus[index] : nullptr;
}

}  // namespace

int32_t menuEntryCount(ParameterMenu menu) {
  const MenuTexts* texts = findMenu(menu);
  return texts ? texts->count : 0;
}

const char* menuEntryText(ParameterMenu menu, int32_t entry) {
  const MenuTexts* texts = findMenu(menu);
  if (!texts || entry < 0 || entry >= texts->count) return nullptr;
  return texts->entries[entry];
}

int32_t decodeMenuEntry(float value, MenuDecode decode) {
  float scaled = 0.0f;
  switch (decode) {
    case MenuDecode::Fine:
      scaled = value * 100.0f * 0.9999f;
      break;
    case MenuDecode::Coarse:
      scaled = value * 100.0f * 0.999f;
      break;
    case MenuDecode::Plain:
      scaled = value * 99.999f;
      break;
  }
  if (std::isnan(scaled)) return -1;
  // Far outside every menu either way; keeps the conversion to an integer defined.
  constexpr float limit = 1.0e9f;
  if (scaled > limit) return static_cast<int32_t>(limit);
  if (scaled < -limit) return -static_cast<int32_t>(limit);
  return static_cast<int32_t>(scaled);
}
