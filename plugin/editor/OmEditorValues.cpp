#include <algorithm>
#include <cmath>
#include <cstring>

#include "plugin/editor/CScope.h"
#include "plugin/editor/OmEditor.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/dsp/FastMath.h"
#include "plugin/engine/dsp/Random.h"
#include "plugin/engine/presets/PresetDialogs.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/COptionMenu.h"

using namespace Gui;

namespace {

// Left button with Shift and Ctrl, nothing else: arms MIDI learn on a knob or step key.
constexpr long learnButtons = kLButton | kShift | kControl;
constexpr int8_t learnHelpTopic = 18;
constexpr float pressed = 0.5f;

// What Default sets, in parameter order (menu values select their entry).
const float defaultValues[ParameterIndex::count] = {
    0.02f,          0.75f, 0.36146164f, 0.0f, 0.0f,  0.0f, 0.02f, 0.01f, 0.84343076f, 0.49719056f, 1.0f,
    1.0f,           0.0f,  0.03f,       1.0f, 0.16f, 0.0f, 0.04f, 0.0f,  0.5f,        0.01f,       0.0f,
    0.52705836f,    0.0f,  0.0f,
    0x1.999996p-4f,  // two steps below the single-precision 0.1, which also selects "Simple"
    0.08f,          0.07f, 0.11f,       0.5f, 0.01f, 0.0f, 0.0f,  0.0f,  0.0f,        0.0f,        0.0f,
    0.0f,           0.0f,  0.0f,        0.0f, 0.0f,  0.0f, 0.0f,  0.0f,  0.0f,        0.0f,        0.0f};

// Tags 0 to 46: the controls of parameters.
bool isParameterControl(int32_t tag) {
  return static_cast<uint32_t>(tag) < static_cast<uint32_t>(EditorTag::parameterControlCount);
}

static_assert(EditorTag::parameterControlCount <= 64, "one bit per parameter control");

bool isMenuParameter(int32_t tag) {
  switch (tag) {
    case ParameterIndex::FilterType1:
    case ParameterIndex::FilterType2:
    case ParameterIndex::Routing:
    case ParameterIndex::DistortionType:
    case ParameterIndex::Lfo1Sync:
    case ParameterIndex::Lfo1Shape:
    case ParameterIndex::Lfo1Destination:
    case ParameterIndex::Lfo2Sync:
    case ParameterIndex::Lfo2Shape:
    case ParameterIndex::Lfo2Destination:
    case ParameterIndex::EnvelopeDestination:
    case ParameterIndex::DelayType:
    case ParameterIndex::DelaySync:
    case ParameterIndex::StepSync:
    case ParameterIndex::StepShape:
    case ParameterIndex::StepDestination:
      return true;
    default:
      return false;
  }
}

// The menu entry a stored value names: the integer part of v x 100 - 0.005; -1 when it names none.
long menuEntryOfValue(float value) {
  const float scaled = value * 100.0f - 0.005f;
  if (!(scaled > -1.0f && scaled < 1.0e6f)) return -1;
  return static_cast<long>(scaled);
}

float menuValueOfEntry(long entry) {
  return static_cast<float>(entry + 1) / 100.0f;
}

// How the status line shows a control's value.
enum class Status { Cleared, Plain, Cutoff, Send };

struct HelpEntry {
  Status status;
  const char* name;
  int8_t topic;
};

// The help topic and status line of a control; a topic of -1 leaves the scope as it is.
HelpEntry helpOf(int32_t tag) {
  switch (tag) {
    case ParameterIndex::Cutoff1:
    case ParameterIndex::Cutoff2:
      return {Status::Cutoff, "Cutoff in Hz", 0};
    case ParameterIndex::Resonance1:
    case ParameterIndex::Resonance2:
      return {Status::Plain, "Resonance", 1};
    case ParameterIndex::Volume:
      return {Status::Plain, "Volume", 2};
    case ParameterIndex::DryWet:
      return {Status::Plain, "Dry/wet mix", 3};
    case ParameterIndex::Drive:
      return {Status::Plain, "Drive", 4};
    case ParameterIndex::DistortionType:
      return {Status::Cleared, "", 4};
    case ParameterIndex::Routing:
      return {Status::Cleared, "", 5};
    case ParameterIndex::Lfo1Rate:
    case ParameterIndex::Lfo2Rate:
      return {Status::Plain, "OSC frequency", 6};
    case ParameterIndex::Lfo1Sync:
    case ParameterIndex::Lfo2Sync:
    case ParameterIndex::StepSync:
    case EditorTag::Lfo1SyncRocker:
    case EditorTag::Lfo2SyncRocker:
    case EditorTag::StepSyncRocker:
      return {Status::Cleared, "", 7};
    case ParameterIndex::Lfo1Shape:
    case ParameterIndex::Lfo2Shape:
    case ParameterIndex::StepShape:
      return {Status::Cleared, "", 8};
    case ParameterIndex::Lfo1Send:
    case ParameterIndex::Lfo2Send:
    case ParameterIndex::StepSend:
      return {Status::Send, "Send level", 9};
    case ParameterIndex::Lfo1Destination:
    case ParameterIndex::Lfo2Destination:
    case ParameterIndex::StepDestination:
      return {Status::Cleared, "", 10};
    case ParameterIndex::EnvelopeTime:
      return {Status::Plain, "Envelope follower time", 11};
    case ParameterIndex::EnvelopeDestination:
      return {Status::Cleared, "", 12};
    case ParameterIndex::EnvelopeSend:
      return {Status::Send, "Send level", 13};
    case ParameterIndex::DelaySend:
      return {Status::Plain, "Send level", 14};
    case ParameterIndex::DelayType:
      return {Status::Cleared, "", 15};
    case ParameterIndex::DelaySync:
    case EditorTag::DelaySyncRocker:
      return {Status::Cleared, "", 16};
    default:
      if (tag >= ParameterIndex::Step1 && tag <= ParameterIndex::Step16) return {Status::Cleared, "", 17};
      return {Status::Cleared, "", -1};
  }
}

// The menu parameter that a sync rocker steps.
int32_t parameterOfSyncRocker(int32_t tag) {
  switch (tag) {
    case EditorTag::Lfo1SyncRocker:
      return ParameterIndex::Lfo1Sync;
    case EditorTag::Lfo2SyncRocker:
      return ParameterIndex::Lfo2Sync;
    case EditorTag::StepSyncRocker:
      return ParameterIndex::StepSync;
    default:
      return ParameterIndex::DelaySync;
  }
}

}  // namespace

void OmEditor::setParameter(VstInt32 index, float /*value*/) {
  if (!isParameterControl(index)) return;
  if (GetCurrentThreadId() != editorThread.load()) {
    markedParameters.fetch_or(std::uint64_t{1} << index);
    return;
  }
  if (!frame || !opened) return;
  showParameter(index);
}

void OmEditor::showParameter(int32_t index) {
  const float value = effect->getParameter(index);
  if (isMenuParameter(index)) {
    static_cast<COptionMenu*>(parameterControls[index])->setCurrent(menuEntryOfValue(value), true);
  } else {
    parameterControls[index]->setValue(value);
  }
}

void OmEditor::showMarkedParameters() {
  const std::uint64_t marked = markedParameters.exchange(0);
  for (int32_t index = 0; index < EditorTag::parameterControlCount; ++index) {
    if (marked & (std::uint64_t{1} << index)) showParameter(index);
  }
}

void OmEditor::beginEdit(VstInt32 index) {
  if (isParameterControl(index)) AEffGUIEditor::beginEdit(index);
}

void OmEditor::endEdit(VstInt32 index) {
  if (isParameterControl(index)) AEffGUIEditor::endEdit(index);
}

void OmEditor::valueChanged(CDrawContext* context, CControl* control) {
  if (!frame || !opened) return;
  const int32_t tag = control->getTag();
  const float value = control->getValue();
  const long buttons = context ? context->getMouseButtons() : 0;

  if (isParameterControl(tag)) {
    if (isMenuParameter(tag)) {
      const long entry = static_cast<COptionMenu*>(control)->getCurrent(nullptr, true);
      effect->setParameterAutomated(tag, menuValueOfEntry(entry));
      control->setDirty(true);
    } else {
      if (buttons == learnButtons) {
        audio().setLearnParameter(tag);
        scope->showHelp(learnHelpTopic);
      }
      effect->setParameterAutomated(tag, value);
      control->setDirty(true);
      control->redraw();
    }
  } else {
    switch (tag) {
      case EditorTag::Lfo1SyncRocker:
      case EditorTag::Lfo2SyncRocker:
      case EditorTag::StepSyncRocker:
      case EditorTag::DelaySyncRocker:
        stepSyncMenu(parameterOfSyncRocker(tag), value);
        control->setDirty(true);
        break;
      case EditorTag::Random:
        if (value >= pressed) {
          audio().updateDisplay();
        } else {
          control->setDirty(true);
          randomPatch();
        }
        break;
      case EditorTag::Default:
        if (value >= pressed) {
          audio().updateDisplay();
        } else {
          control->setDirty(true);
          setDefaults();
        }
        break;
      case EditorTag::Copy:
        copyProgram();
        break;
      case EditorTag::Paste:
        if (value >= pressed) {
          audio().updateDisplay();
        } else {
          control->setDirty(true);
          pasteProgram();
        }
        break;
      case EditorTag::ProgramMenu:
        effect->setProgram(static_cast<VstInt32>(control->getValue()));
        control->setDirty(true);
        audio().updateDisplay();
        break;
      case EditorTag::ProgramRocker:
        stepProgram(control, value);
        break;
      case EditorTag::LoadProgram:
      case EditorTag::SaveProgram:
      case EditorTag::LoadBank:
      case EditorTag::SaveBank:
        runPresetButton(tag, value);
        if (value >= pressed) control->setDirty(true);
        break;
      case EditorTag::Splash:
        splashShown = value >= pressed;
        break;
      default:
        break;
    }
  }

  if (buttons != learnButtons) showHelpAndStatus(tag, value);
  scope->redrawCount = 0;
}

void OmEditor::showHelpAndStatus(int32_t tag, float value) {
  const HelpEntry entry = helpOf(tag);
  if (entry.topic < 0) return;
  switch (entry.status) {
    case Status::Cleared:
      scope->setStatus("", -1.0f);
      break;
    case Status::Plain:
      scope->setStatus(entry.name, value);
      break;
    case Status::Cutoff:
      scope->setStatus(entry.name, 20000.0f * fastExp(static_cast<double>(-6.0f * (1.0f - value))));
      break;
    case Status::Send:
      scope->setStatus(entry.name, (value - 0.5f) * 2.0f);
      break;
  }
  scope->showHelp(entry.topic);
}

void OmEditor::stepSyncMenu(int32_t parameter, float direction) {
  const float last =
      static_cast<float>(static_cast<COptionMenu*>(parameterControls[parameter])->getNbEntries()) / 100.0f;
  auto clamp = [last](float x) {
    if (x < 0.01f) x = 0.01f;
    if (x > last) x = last;
    return x;
  };
  const float value = clamp(clamp(effect->getParameter(parameter)) + direction / 100.0f);
  effect->setParameterAutomated(parameter, value);
}

void OmEditor::stepProgram(CControl* rocker, float direction) {
  if (direction == 0.0f) return;
  const long current = programMenu->getCurrent(nullptr, true);
  const long program = std::clamp(static_cast<long>(direction + static_cast<float>(current)), 0L,
                                  static_cast<long>(programCount - 1));
  programMenu->setCurrent(program, true);
  effect->setProgram(program);
  rocker->setDirty(true);
  audio().updateDisplay();
}

void OmEditor::randomPatch() {
  OmAudio& fx = audio();
  char name[] = "Random";
  fx.setProgramName(name);
  // randomInRange may pass its upper end by a little: a menu value never names more than the last entry.
  auto r = [] { return std::min(randomInRange(0.0f, 1.0f), 1.0f); };
  const auto spread = [&r](float entries) { return r() * entries / 100.0f; };
  fx.setParameter(ParameterIndex::FilterType1, spread(58.0f));
  fx.setParameter(ParameterIndex::Cutoff1, randomInRange(0.2f, 1.0f));
  fx.setParameter(ParameterIndex::Resonance1, randomInRange(0.0f, 0.8f));
  fx.setParameter(ParameterIndex::FilterType2, spread(58.0f));
  fx.setParameter(ParameterIndex::Cutoff2, randomInRange(0.2f, 1.0f));
  fx.setParameter(ParameterIndex::Resonance2, randomInRange(0.0f, 0.8f));
  fx.setParameter(ParameterIndex::Routing, spread(8.0f));
  static constexpr float distortions[] = {0.02f, 0.03f, 0.04f, 0.11f, 0.11f, 0.11f};
  fx.setParameter(ParameterIndex::DistortionType,
                  distortions[std::min(5, static_cast<int>(randomInRange(0.0f, 5.99f)))]);
  fx.setParameter(ParameterIndex::Drive, 0.5f);
  fx.setParameter(ParameterIndex::Volume, 0.5f);
  fx.setParameter(ParameterIndex::DryWet, 1.0f);
  fx.setParameter(ParameterIndex::Lfo1Rate, 1.0f);
  fx.setParameter(ParameterIndex::Lfo1Sync, 0.0f);
  fx.setParameter(ParameterIndex::Lfo1Shape, spread(15.0f));
  fx.setParameter(ParameterIndex::Lfo1Send, 1.0f);
  fx.setParameter(ParameterIndex::Lfo1Destination, 0.155f);
  fx.setParameter(ParameterIndex::Lfo2Rate, r());
  fx.setParameter(ParameterIndex::Lfo2Sync, spread(25.0f));
  if (r() < 0.3f) fx.setParameter(ParameterIndex::Lfo2Sync, 0.0f);
  fx.setParameter(ParameterIndex::Lfo2Shape, spread(15.0f));
  fx.setParameter(ParameterIndex::Lfo2Send, r());
  fx.setParameter(ParameterIndex::Lfo2Destination, spread(18.0f));
  fx.setParameter(ParameterIndex::EnvelopeTime, 0.5f);
  fx.setParameter(ParameterIndex::EnvelopeSend, 0.5f);
  fx.setParameter(ParameterIndex::EnvelopeDestination, 0.0f);
  fx.setParameter(ParameterIndex::DelaySend, r());
  fx.setParameter(ParameterIndex::DelayType, spread(18.0f));
  fx.setParameter(ParameterIndex::DelaySync, spread(12.0f));
  fx.setParameter(ParameterIndex::StepSync, spread(25.0f));
  fx.setParameter(ParameterIndex::StepShape, spread(20.0f));
  fx.setParameter(ParameterIndex::StepSend, r());
  fx.setParameter(ParameterIndex::StepDestination, spread(21.0f));
  for (int32_t step = ParameterIndex::Step1; step <= ParameterIndex::Step16; ++step) {
    fx.setParameter(step, r() > 0.5f ? 1.0f : 0.0f);
  }
  fx.updateDisplay();
}

void OmEditor::setDefaults() {
  OmAudio& fx = audio();
  char name[] = "Default";
  fx.setProgramName(name);
  for (int32_t index = 0; index < ParameterIndex::count; ++index)
    fx.setParameter(index, defaultValues[index]);
  fx.updateDisplay();
}

void OmEditor::copyProgram() {
  for (int32_t index = 0; index < ParameterIndex::count; ++index) {
    clipboardValues[index] = effect->getParameter(index);
  }
  effect->getProgramName(clipboardName);
  clipboardFilled = true;
}

void OmEditor::pasteProgram() {
  if (!clipboardFilled) return;  // nothing was copied yet: the program stays as it is
  OmAudio& fx = audio();
  fx.setProgramName(clipboardName);
  for (int32_t index = 0; index < ParameterIndex::count; ++index) {
    fx.setParameterAutomated(index, clipboardValues[index]);
  }
  fx.setProgramName(clipboardName);
  fx.updateDisplay();
}

void OmEditor::runPresetButton(int32_t tag, float value) {
  OmAudio& fx = audio();
  if (value >= pressed) {
    const HWND owner = frame->getSystemWindow();
    switch (tag) {
      case EditorTag::LoadProgram:
        loadSinglePresetDialog(fx, owner);
        break;
      case EditorTag::SaveProgram:
        saveSinglePresetDialog(fx, owner);
        break;
      case EditorTag::LoadBank:
        loadBankDialog(fx, owner);
        break;
      default:
        saveBankDialog(fx, owner);
        break;
    }
  }
  if (tag == EditorTag::LoadProgram || tag == EditorTag::LoadBank) {
    refreshProgramNames();
    fx.updateDisplay();
  }
}

void OmEditor::refreshProgramNames() {
  if (!programMenu) return;
  for (int32_t program = 0; program < programCount; ++program) {
    programMenu->setEntry(program, audio().programs[program].name);
  }
}
