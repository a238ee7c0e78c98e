#pragma once

#include "plugin/framework/AEffEditor.h"
#include "plugin/framework/ERect.h"
#include "plugin/gui/OleSession.h"

namespace Gui {
class CFrame;
}

// The base of a toolkit editor: the editor rectangle for the host, the frame that the subclass makes in
// open and deletes in close, the host's keys and wheel turns passed to the frame, paced idle while a
// control holds the mouse, and edit gestures passed on to the host.
class AEffGUIEditor : public AEffEditor {
 public:
  explicit AEffGUIEditor(AudioEffect* effect);
  ~AEffGUIEditor() override;

  bool getRect(ERect** rect) override;
  // Redraws the frame's dirty views; the subclass's idle calls it at its end.
  void idle() override;
  bool onKeyDown(VstKeyCode& keyCode) override;
  bool onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(float distance) override;
  bool setKnobMode(VstInt32 mode) override;

  // Mirrors a parameter value in the controls; nothing in the base.
  virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
  virtual void beginEdit(VstInt32 index);
  virtual void endEdit(VstInt32 index);
  // Runs the idle at most about every 16 ms, repaints one pending window and gives the host its idle.
  virtual void doIdleStuff();

  // Milliseconds of the system tick count.
  unsigned long getTicks() const;
  Gui::CFrame* getFrame() const { return frame; }
  // The knob mode shared by every editor of the process (2: linear dragging).
  static VstInt32 getKnobMode() { return knobMode; }

 protected:
  ERect rect{0, 0, 0, 0};
  unsigned long lastTicks;
  bool inIdleStuff = false;
  Gui::CFrame* frame = nullptr;
  // OLE for the frame's drag and drop, for the editor's whole life.
  Gui::OleSession ole;

  static VstInt32 knobMode;
};
