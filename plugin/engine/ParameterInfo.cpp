#include "plugin/engine/ParameterInfo.h"

#include "plugin/engine/ParameterIndex.h"

namespace {

constexpr ParameterInfo menu(const char* name, ParameterMenu menu, MenuDecode decode) {
  return ParameterInfo{name, "", DisplayKind::Menu, menu, decode};
}

constexpr ParameterInfo shown(const char* name, const char* label, DisplayKind display) {
  return ParameterInfo{name, label, display, ParameterMenu::FilterType, MenuDecode::Plain};
}

constexpr ParameterInfo percent(const char* name) {
  return shown(name, "", DisplayKind::Percent);
}
constexpr ParameterInfo step(const char* name) {
  return shown(name, "", DisplayKind::Step);
}

const ParameterInfo parameters[ParameterIndex::count] = {
    menu("Filtert1", ParameterMenu::FilterType, MenuDecode::Fine),
    shown("Cutoff", "Hz", DisplayKind::Cutoff),
    shown("Reso", "Q", DisplayKind::Resonance),
    menu("Filtert2", ParameterMenu::FilterType, MenuDecode::Fine),
    shown("Cutoff2", "Hz", DisplayKind::Cutoff),
    shown("Reso2", "Q", DisplayKind::Resonance),
    menu("Routing", ParameterMenu::Routing, MenuDecode::Coarse),
    menu("Disttype", ParameterMenu::Distortion, MenuDecode::Fine),
    percent("Drive"),
    percent("Volume"),
    percent("DryWet"),
    percent("LFO1f"),
    menu("LFO1sync", ParameterMenu::LfoSync, MenuDecode::Plain),
    menu("LFO1shap", ParameterMenu::LfoShape, MenuDecode::Plain),
    percent("LFO1send"),
    menu("LFO1dest", ParameterMenu::Lfo1Destination, MenuDecode::Coarse),
    percent("LFO2f"),
    menu("LFO2sync", ParameterMenu::LfoSync, MenuDecode::Plain),
    menu("LFO2shap", ParameterMenu::LfoShape, MenuDecode::Plain),
    percent("LFO2send"),
    menu("LFO2dest", ParameterMenu::Lfo2Destination, MenuDecode::Coarse),
    percent("Envtime"),
    percent("Envsend"),
    menu("Envdest", ParameterMenu::EnvelopeDestination, MenuDecode::Coarse),
    percent("Delaysnd"),
    menu("Delaytyp", ParameterMenu::DelayType, MenuDecode::Plain),
    menu("Delaysyn", ParameterMenu::DelaySync, MenuDecode::Plain),
    menu("StepSync", ParameterMenu::StepSync, MenuDecode::Plain),
    menu("StepShap", ParameterMenu::StepShape, MenuDecode::Plain),
    percent("StepSend"),
    menu("StepDest", ParameterMenu::StepDestination, MenuDecode::Coarse),
    step("Step1"),
    step("Step2"),
    step("Step3"),
    step("Step4"),
    step("Step5"),
    step("Step6"),
    step("Step7"),
    step("Step8"),
    step("Step9"),
    step("Step10"),
    step("Step11"),
    step("Step12"),
    step("Step13"),
    step("Step14"),
    step("Step15"),
    step("Step16"),
    shown("", "", DisplayKind::Empty),
};

}  // namespace

const ParameterInfo& parameterInfo(int32_t index) {
  return parameters[index];
}

int32_t decodeParameterEntry(int32_t index, float value) {
  const ParameterInfo& info = parameters[index];
  const int32_t entry = decodeMenuEntry(value, info.decode);
  if (index == ParameterIndex::DelaySync && entry >= 0)
    return entry % menuEntryCount(ParameterMenu::DelaySync);
  return entry;
}
