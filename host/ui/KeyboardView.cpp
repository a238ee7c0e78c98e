#include "host/ui/KeyboardView.h"

#include "common/system/Timer.h"
#include "host/ui/EmbeddedImages.h"
#include "host/ui/EventHandlers.h"
#include "host/ui/KeyboardModel.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/region.h>
#include <wx/timer.h>
#include <algorithm>
#include <boost/bind/bind.hpp>
#include <cmath>

namespace Ombix::Kelvane {

namespace {

constexpr int scrollIntervalMs = 20;

// The key pictures, shared by every keyboard of the process and loaded by the first one.
struct KeyImages {
  wxBitmap white;
  wxBitmap black;
  KeySizes sizes{};
};

wxBitmap LoadBitmap(const EmbeddedImage& bytes) {
  wxMemoryInputStream stream(bytes.data, bytes.size);
  return wxBitmap(wxImage(stream, wxBITMAP_TYPE_BMP));
}

KeyImages& Images() {
  static KeyImages images;
  if (!images.white.IsOk()) {
    images.white = LoadBitmap(WhiteKeysBmp());
    images.black = LoadBitmap(BlackKeysBmp());
    images.sizes = {images.white.GetWidth() / 4, images.white.GetHeight() / 3, images.black.GetWidth(),
                    images.black.GetHeight() / 2};
  }
  return images;
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(KeyboardView, wxWindow)
  EVT_ERASE_BACKGROUND(KeyboardView::OnEraseBackground)
  EVT_PAINT(KeyboardView::OnPaint)
  EVT_MOUSEWHEEL(KeyboardView::OnMouseWheel)
  EVT_TIMER(wxID_ANY, KeyboardView::OnTimer)
  EVT_SIZE(KeyboardView::OnSize)
  EVT_ENTER_WINDOW(KeyboardView::OnMouseEnter)
  EVT_MOTION(KeyboardView::OnMouseMotion)
  EVT_LEAVE_WINDOW(KeyboardView::OnMouseLeave)
  EVT_LEFT_DOWN(KeyboardView::OnLeftDown)
  EVT_LEFT_UP(KeyboardView::OnLeftUp)
  EVT_LEFT_DCLICK(KeyboardView::OnLeftDClick)
  EVT_MIDDLE_DOWN(KeyboardView::OnMiddleDown)
  EVT_MIDDLE_UP(KeyboardView::OnMiddleUp)
  EVT_MIDDLE_DCLICK(KeyboardView::OnMiddleDClick)
  EVT_RIGHT_DOWN(KeyboardView::OnRightDown)
  EVT_RIGHT_UP(KeyboardView::OnRightUp)
  EVT_RIGHT_DCLICK(KeyboardView::OnRightDClick)
  // Listed twice on purpose: a hook that passes the wheel on meets it again, so one notch
  // scrolls twice the hook's step.
  EVT_MOUSEWHEEL(KeyboardView::OnMouseWheel)
  EVT_KEY_DOWN(KeyboardView::OnKeyDown)
  EVT_KEY_UP(KeyboardView::OnKeyUp)
wxEND_EVENT_TABLE()
    // clang-format on

    KeyboardView::KeyboardView(wxWindow* parent, KeyboardModel* model)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, "panel"),
      scrollTimer_(std::make_unique<wxTimer>(this)),
      stopwatch_(std::make_unique<Common::System::Timer>()),
      model_(model) {
  scrollTimer_->Start(scrollIntervalMs);
  // Bound to a trackable object: the connection ends with this window.
  model_->noteChanged.connect(boost::bind(&KeyboardView::OnModelNoteChanged, this, boost::placeholders::_1));
  SetWindowStyle(GetWindowStyle() | wxFULL_REPAINT_ON_RESIZE);
  const KeySizes& sizes = Sizes();
  SetMinSize(wxSize(8 * sizes.whiteWidth, sizes.whiteHeight));
  ScrollBy(2.0f);
}

KeyboardView::~KeyboardView() {
  scrollTimer_->Stop();
}

const KeySizes& KeyboardView::Sizes() {
  return Images().sizes;
}

void KeyboardView::OnMouseEnter(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnMouseMotion(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnMouseLeave(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnLeftDown(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnLeftUp(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnLeftDClick(wxMouseEvent& event) {
  OnLeftDown(event);
}
void KeyboardView::OnMiddleDown(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnMiddleUp(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnMiddleDClick(wxMouseEvent& event) {
  OnMiddleDown(event);
}
void KeyboardView::OnRightDown(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnRightUp(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnRightDClick(wxMouseEvent& event) {
  OnRightDown(event);
}
void KeyboardView::OnMouseWheel(wxMouseEvent& event) {
  SkipEvent(event);
}
void KeyboardView::OnKeyDown(wxKeyEvent& event) {
  PropagateKeyEvent(event);
}
void KeyboardView::OnKeyUp(wxKeyEvent& event) {
  PropagateKeyEvent(event);
}

void KeyboardView::ScrollBy(float octaves) {
  target_ += static_cast<float>(Sizes().whiteWidth) * octaves * 7.0f;
  ClampScrollTarget();
  if (!scrollTimer_->IsRunning()) {
    stopwatch_->Reset(0.0);
    scrollTimer_->Start();
  }
}

bool KeyboardView::IsScrolling() const {
  return scrollTimer_->IsRunning();
}

unsigned char KeyboardView::NoteAt(int x, int y) const {
  return NoteAtPoint(x, y, static_cast<int>(position_), Sizes());
}

int KeyboardView::KeyLeftEdge(int note) const {
  return KeyLeft(note, static_cast<int>(position_), Sizes());
}

void KeyboardView::ClampScrollTarget() {
  target_ = std::max(target_, 0.0f);
  const float end = static_cast<float>(WhiteKeyCount * Sizes().whiteWidth - GetSize().x);
  if (target_ > end) {
    target_ = end;
  }
}

void KeyboardView::StepScroll() {
  if (scrollTimer_->IsRunning()) {
    const double dt = stopwatch_->ElapsedMs();
    stopwatch_->Reset(0.0);
    position_ = static_cast<float>(target_ - std::exp(-0.01 * dt) * (target_ - position_));
    if (std::fabs(position_ - target_) < 0.1f) {
      scrollTimer_->Stop();
    }
  } else if (std::fabs(position_ - target_) > 0.1f) {
    scrollTimer_->Start();
  }
}

void KeyboardView::OnEraseBackground(wxEraseEvent&) {}

void KeyboardView::OnPaint(wxPaintEvent&) {
  ClampScrollTarget();
  StepScroll();
  wxBufferedPaintDC dc(this);
  const KeySizes& sizes = Sizes();
  dc.SetTextForeground(*wxBLACK);
  dc.SetBrush(*wxBLACK_BRUSH);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetFont(wxFont(wxSize(0, static_cast<int>(sizes.whiteWidth * 0.6)), wxFONTFAMILY_MODERN,
                    wxFONTSTYLE_SLANT, wxFONTWEIGHT_NORMAL, false, "Arial"));
  // A window wider than the keys shows strips beside them: they are filled, never left stale.
  const int startOfKeys = KeyLeftEdge(0);
  const int endOfKeys = KeyLeftEdge(NoteCount - 1) + sizes.whiteWidth;
  for (wxRegionIterator area(GetUpdateRegion()); area; ++area) {
    const wxRect rect = area.GetRect();
    for (int octave = 0; octave <= 10; ++octave) {
      for (int i = 0; i < 12; ++i) {
        const int note = 12 * octave + DrawingOrder(i);
        if (note < NoteCount) {
          DrawKey(dc, note, rect);
        }
      }
    }
    if (startOfKeys > rect.x) {
      dc.DrawRectangle(rect.x, rect.y, std::min(startOfKeys, rect.GetRight() + 1) - rect.x, rect.height);
    }
    if (endOfKeys < rect.GetRight() + 1) {
      dc.DrawRectangle(endOfKeys, rect.y, rect.GetRight() + 1 - endOfKeys, rect.height);
    }
  }
}

void KeyboardView::DrawKey(wxDC& dc, int note, const wxRect& area) const {
  const KeySizes& sizes = Sizes();
  const int pitchClass = note % 12;
  const bool black = IsBlackKey(pitchClass);
  const int width = black ? sizes.blackWidth : sizes.whiteWidth;
  const int height = black ? sizes.blackHeight : sizes.whiteHeight;
  const int left = KeyLeftEdge(note);
  if (left > area.GetRight() || left + width < area.x || area.y > height) {
    return;
  }
  const bool down = model_->notes[note] != 0;
  const int column = note == NoteCount - 1 ? 2 : (black ? 0 : WhiteImageColumn(pitchClass));
  int row = down ? 1 : 0;
  if (!black && down && note > 0 && model_->notes[note + LeftWhiteNeighbour(pitchClass)] != 0) {
    row = 2;
  }
  wxMemoryDC source(black ? Images().black : Images().white);
  dc.Blit(left, 0, width, height, &source, column * width, row * height, wxCOPY, false);
  if (pitchClass == 0) {
    const int y = sizes.whiteHeight - (down ? 3 : 5);
    dc.DrawRotatedText(wxString::Format("C%d", note / 12 - 2),
                       static_cast<int>(sizes.whiteWidth * 0.2 + left), y, 90.0);
  }
}

void KeyboardView::OnTimer(wxTimerEvent&) {
  if (!IsShownOnScreen()) {
    // Nothing paints a hidden keyboard, so nothing would stop the timer: the scroll ends at its
    // target at once and the timer stops.
    position_ = target_;
    scrollTimer_->Stop();
    return;
  }
  Refresh(false);
}

void KeyboardView::OnSize(wxSizeEvent&) {
  ClampScrollTarget();
}

void KeyboardView::OnModelNoteChanged(unsigned char note) {
  if (note >= NoteCount || scrollTimer_->IsRunning()) {
    return;
  }
  const KeySizes& sizes = Sizes();
  const int left = KeyLeftEdge(note);
  const wxRect area = IsBlackKey(note % 12) ? wxRect(left, 0, sizes.blackWidth, sizes.blackHeight)
                                            : wxRect(left, 0, 2 * sizes.whiteWidth, sizes.whiteHeight);
  RefreshRect(area, false);
}

}  // namespace Ombix::Kelvane
