#pragma once

namespace Gui {
class CControl;
class CDrawContext;
}  // namespace Gui

// Told by a control when its value changes; the editor implements it.
class CControlListener {
 public:
  // The context is that of the click or wheel turn, null when a key made the change.
  virtual void valueChanged(Gui::CDrawContext* context, Gui::CControl* control) = 0;
  // A click with a modifier held; non-zero when the listener handled it.
  virtual long controlModifierClicked(Gui::CDrawContext* /*context*/, Gui::CControl* /*control*/,
                                      long /*buttons*/) {
    return 0;
  }

 protected:
  ~CControlListener() = default;
};
