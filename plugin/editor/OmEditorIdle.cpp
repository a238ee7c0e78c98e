#include <windows.h>

#include "plugin/editor/CScope.h"
#include "plugin/editor/OmEditor.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/CMovieBitmap.h"
#include "plugin/gui/COptionMenu.h"
#include "plugin/gui/CSplashScreen.h"

namespace {

// While the splash picture is up, each idle only keeps it drawn and waits.
constexpr DWORD busyPause = 50;

}  // namespace

void OmEditor::idle() {
  if (!frame || !opened) return;
  OmAudio& fx = audio();
  showMarkedParameters();
  if (!splashShown) {
    computeResponse();
    scope->setLimiter(fx.limiterActive);
    scope->redraw();
    lfoLeds[0]->setValue(fx.lfo1Output);
    lfoLeds[1]->setValue(fx.lfo2Output);
    if (programMenu) {
      refreshProgramNames();
      programMenu->setValue(static_cast<float>(fx.getProgram()));
    }
    const VstInt32 current = fx.currentStep;
    for (VstInt32 step = 0; step < ParameterIndex::stepCount; ++step) {
      stepLeds[step]->setValue(step == current ? 0.0f : 1.0f);
    }
  } else {
    splashScreen->setDirty(true);
    Sleep(busyPause);
  }
  AEffGUIEditor::idle();
}

void OmEditor::computeResponse() {
  const OmAudio& fx = audio();
  FilterSettings settings;
  settings.filterType1 = fx.values[ParameterIndex::FilterType1];
  settings.filterType2 = fx.values[ParameterIndex::FilterType2];
  settings.routing = fx.values[ParameterIndex::Routing];
  settings.cutoff1 = fx.sound->filterCutoff1;
  settings.cutoff2 = fx.sound->filterCutoff2;
  settings.resonance1 = fx.sound->filterResonance1;
  settings.resonance2 = fx.sound->filterResonance2;
  int32_t columns[FilterResponse::columnCount];
  std::uint8_t mode = 0;
  if (!response.compute(settings, columns, mode)) return;
  if (opened && frame && !splashShown) scope->setValues(columns, mode);
}
