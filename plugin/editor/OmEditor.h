#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "plugin/editor/EditorTags.h"
#include "plugin/editor/FilterResponse.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterMenu.h"
#include "plugin/engine/ProgramRecord.h"
#include "plugin/gui/AEffGUIEditor.h"
#include "plugin/gui/CColor.h"
#include "plugin/gui/CControlListener.h"
#include "plugin/gui/CPoint.h"

class CScope;
class OmAudio;

namespace Gui {
class CBitmap;
class CControl;
class CMovieBitmap;
class COptionMenu;
class COptionMenuScheme;
class CSplashScreen;
}  // namespace Gui

// The instrument's editor: a 632 x 373 panel of bitmaps with every parameter's control, the step lights,
// the LFO indicators, the program menu and steppers, random, default, copy and paste, the preset-file
// buttons, the splash picture and the scope with the live filter response. The effect makes it with
// itself and owns it; the host opens and closes it in a window of its own.
class OmEditor : public AEffGUIEditor, public CControlListener {
 public:
  // The pictures by resource id, from the panel (128) to the Copy button (139).
  static constexpr long firstBitmapId = 128;
  static constexpr int32_t bitmapCount = 12;

  explicit OmEditor(OmAudio* effect);
  ~OmEditor() override;

  bool open(void* parent) override;
  void close() override;
  // Brings the panel up to date with what the engine does on its own, then redraws dirty views.
  void idle() override;
  // Mirrors the effect's value of a parameter in its control; drawn at the next idle. A change made on
  // another thread than the editor's (a learned controller on the audio thread) only marks the
  // parameter: the next idle shows it, as the controls belong to the editor's thread.
  void setParameter(VstInt32 index, float value) override;
  // Edit gestures reach the host only for the controls of parameters.
  void beginEdit(VstInt32 index) override;
  void endEdit(VstInt32 index) override;
  // A control was changed by the user.
  void valueChanged(Gui::CDrawContext* context, Gui::CControl* control) override;

  // For tests and the idle: the views while the editor is open (null otherwise).
  CScope* getScope() const { return scope; }
  Gui::CControl* getParameterControl(int32_t tag) const;
  Gui::COptionMenu* getProgramMenu() const { return programMenu; }
  Gui::CMovieBitmap* getStepLed(int32_t step) const { return stepLeds[step]; }
  Gui::CMovieBitmap* getLfoLed(int32_t lfo) const { return lfoLeds[lfo]; }
  bool isSplashShown() const { return splashShown; }

 private:
  Gui::CBitmap* bitmap(long id) const { return bitmaps[id - firstBitmapId]; }
  OmAudio& audio() const;

  // The six builders: each adds one control to the frame.
  Gui::CControl* addKnob(long left, long top, int32_t tag, long size, long handleId);
  Gui::COptionMenu* addOptionMenu(long left, long top, long width, long height, Gui::CColor grey,
                                  const char* const* texts, int32_t count, int32_t tag);
  Gui::CMovieBitmap* addIndicator(long left, long top, float value);
  void addRocker(long left, long top, int32_t tag);
  Gui::CControl* addStepButton(long left, long top, int32_t tag, float value);
  void addKickButton(long left, long top, int32_t tag, long bitmapId);
  void addPresetButton(long left, long top, int32_t tag);

  // What the controls do.
  void stepSyncMenu(int32_t parameter, float direction);
  void stepProgram(Gui::CControl* rocker, float direction);
  void randomPatch();
  void setDefaults();
  void copyProgram();
  void pasteProgram();
  void runPresetButton(int32_t tag, float value);
  void refreshProgramNames();
  void showHelpAndStatus(int32_t tag, float value);

  // The response curve of the current filter settings into the scope.
  void computeResponse();
  // The control of a parameter takes the effect's value.
  void showParameter(int32_t index);
  // Shows the parameters that other threads marked since the last idle.
  void showMarkedParameters();

  Gui::CControl* parameterControls[EditorTag::parameterControlCount] = {};
  Gui::CMovieBitmap* stepLeds[ParameterIndex::stepCount] = {};
  Gui::CMovieBitmap* lfoLeds[2] = {};
  Gui::COptionMenu* programMenu = nullptr;
  Gui::CSplashScreen* splashScreen = nullptr;
  CScope* scope = nullptr;
  Gui::CBitmap* bitmaps[bitmapCount] = {};
  std::vector<Gui::COptionMenuScheme*> menuSchemes;
  bool opened = false;
  bool splashShown = false;
  // The thread that opened the editor and owns its controls; 0 while closed.
  std::atomic<DWORD> editorThread{0};
  // One bit per parameter control changed on another thread.
  std::atomic<std::uint64_t> markedParameters{0};
  FilterResponse response;
  float clipboardValues[ParameterIndex::count] = {};
  char clipboardName[programNameCapacity] = {};
  bool clipboardFilled = false;
};
