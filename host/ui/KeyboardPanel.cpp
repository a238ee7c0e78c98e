#include "host/ui/KeyboardPanel.h"

#include "host/ui/KeyboardModel.h"

#include <boost/bind/bind.hpp>

namespace Ombix::Kelvane {

KeyboardPanel::KeyboardPanel(wxWindow* parent) : KeyboardView(parent, new KeyboardModel), model_(Model()) {
  // After the view's own connection, so the key is repainted before the note is reported.
  model_->noteChanged.connect(boost::bind(&KeyboardPanel::OnModelNoteChanged, this, boost::placeholders::_1));
}

KeyboardPanel::~KeyboardPanel() {
  model_.reset();
}

void KeyboardPanel::Press(unsigned char note) {
  if (note < NoteCount && model_->notes[note] != 1) {
    model_->notes[note] = 1;
    model_->noteChanged(note);
  }
}

void KeyboardPanel::Release(unsigned char note) {
  if (note < NoteCount && model_->notes[note] != 0) {
    model_->notes[note] = 0;
    model_->noteChanged(note);
  }
}

void KeyboardPanel::ReleaseAllNotes() {
  for (int note = 0; note < NoteCount; ++note) {
    Release(static_cast<unsigned char>(note));
  }
  pressedNote_ = NoNote;
}

void KeyboardPanel::OnLeftDown(wxMouseEvent& event) {
  pressedNote_ = NoteAt(event.GetX(), event.GetY());
  Press(pressedNote_);
  event.Skip();
}

void KeyboardPanel::OnMouseMotion(wxMouseEvent& event) {
  if (event.LeftIsDown()) {
    const unsigned char note = NoteAt(event.GetX(), event.GetY());
    if (note != pressedNote_) {
      Release(pressedNote_);
      pressedNote_ = note;
      Press(note);
    }
  }
  event.Skip();
}

void KeyboardPanel::OnLeftUp(wxMouseEvent& event) {
  Release(pressedNote_);
  pressedNote_ = NoNote;
  event.Skip();
}

void KeyboardPanel::OnMouseLeave(wxMouseEvent& event) {
  Release(pressedNote_);
  if (event.LeftIsDown()) {
    pressedNote_ = NoNote;
  }
  event.Skip();
}

void KeyboardPanel::OnRightDown(wxMouseEvent& event) {
  const unsigned char note = NoteAt(event.GetX(), event.GetY());
  if (note < NoteCount) {
    model_->notes[note] = model_->notes[note] == 0 ? 1 : 0;
    model_->noteChanged(note);
  }
  event.Skip();
}

void KeyboardPanel::OnMouseWheel(wxMouseEvent& event) {
  ScrollBy(-static_cast<float>(event.GetWheelRotation()) / 240.0f);
  event.Skip();
}

void KeyboardPanel::OnModelNoteChanged(unsigned char note) {
  if (!echoGuard && note < NoteCount) {
    noteSignal(note, model_->notes[note] != 0);
  }
}

}  // namespace Ombix::Kelvane
