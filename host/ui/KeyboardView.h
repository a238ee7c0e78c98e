#pragma once

#include "host/ui/KeyboardGeometry.h"

#include <wx/window.h>
#include <boost/signals2/trackable.hpp>
#include <memory>

class wxTimer;
class wxTimerEvent;

namespace Common::System {
class Timer;
}

namespace Ombix::Kelvane {

class KeyboardModel;

// Draws a keyboard model as a strip of 128 keys that scrolls smoothly, and hands every mouse and
// key event to a hook that subclasses override.
class KeyboardView : public wxWindow, public boost::signals2::trackable {
 public:
  KeyboardView(wxWindow* parent, KeyboardModel* model);
  ~KeyboardView() override;

  // Moves the scroll target by octaves (7 white keys each) and starts the smooth scroll.
  void ScrollBy(float octaves);
  // The note under the window point (x, y); NoNote when none.
  unsigned char NoteAt(int x, int y) const;
  // The left edge of the note's key in window pixels, as it is drawn now.
  int KeyLeftEdge(int note) const;
  // The smooth scroll is under way (its timer runs).
  bool IsScrolling() const;
  float ScrollPosition() const { return position_; }
  float ScrollTarget() const { return target_; }
  // The sizes of the keys of the process-wide key images.
  static const KeySizes& Sizes();

  virtual void OnMouseEnter(wxMouseEvent& event);
  virtual void OnMouseMotion(wxMouseEvent& event);
  virtual void OnMouseLeave(wxMouseEvent& event);
  virtual void OnLeftDown(wxMouseEvent& event);
  virtual void OnLeftUp(wxMouseEvent& event);
  virtual void OnLeftDClick(wxMouseEvent& event);
  virtual void OnMiddleDown(wxMouseEvent& event);
  virtual void OnMiddleUp(wxMouseEvent& event);
  virtual void OnMiddleDClick(wxMouseEvent& event);
  virtual void OnRightDown(wxMouseEvent& event);
  virtual void OnRightUp(wxMouseEvent& event);
  virtual void OnRightDClick(wxMouseEvent& event);
  virtual void OnMouseWheel(wxMouseEvent& event);
  virtual void OnKeyDown(wxKeyEvent& event);
  virtual void OnKeyUp(wxKeyEvent& event);

 protected:
  KeyboardModel* Model() const { return model_; }

 private:
  void OnEraseBackground(wxEraseEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnModelNoteChanged(unsigned char note);
  void ClampScrollTarget();
  void StepScroll();
  void DrawKey(wxDC& dc, int note, const wxRect& area) const;

  std::unique_ptr<wxTimer> scrollTimer_;
  std::unique_ptr<Common::System::Timer> stopwatch_;
  float position_ = 0.0f;
  float target_ = 0.0f;
  KeyboardModel* model_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace Ombix::Kelvane
