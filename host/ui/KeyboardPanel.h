#pragma once

#include "host/ui/KeyboardView.h"

#include <boost/signals2/signal.hpp>
#include <memory>

namespace Ombix::Kelvane {

// The playable on-screen keyboard: the left button plays a note (press, glide, release), the
// right button latches a note on or off, the wheel scrolls. Every note change is reported on
// noteSignal unless echoGuard is set (the frame sets it while it shows notes the plug-in sends).
class KeyboardPanel : public KeyboardView {
 public:
  explicit KeyboardPanel(wxWindow* parent);
  ~KeyboardPanel() override;

  KeyboardModel* GetModel() const { return model_.get(); }
  // Releases every note that is down (held, latched or lit by the plug-in), each reported as usual.
  void ReleaseAllNotes();

  void OnMouseMotion(wxMouseEvent& event) override;
  void OnMouseLeave(wxMouseEvent& event) override;
  void OnLeftDown(wxMouseEvent& event) override;
  void OnLeftUp(wxMouseEvent& event) override;
  void OnRightDown(wxMouseEvent& event) override;
  void OnMouseWheel(wxMouseEvent& event) override;

  // Set by the frame while it writes notes the plug-in reports, so they are not sent back.
  bool echoGuard = false;
  boost::signals2::signal<void(unsigned char note, bool on)> noteSignal;

 private:
  void OnModelNoteChanged(unsigned char note);
  void Press(unsigned char note);
  void Release(unsigned char note);

  unsigned char pressedNote_ = NoNote;
  // Made for the view's constructor and owned from then on.
  std::unique_ptr<KeyboardModel> model_;
};

}  // namespace Ombix::Kelvane
