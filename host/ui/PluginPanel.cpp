#include "host/ui/PluginPanel.h"

#include "common/system/Timer.h"
#include "host/core/IPlugin.h"
#include "host/hosting/PluginKeyEvent.h"
#include "host/ui/EmbeddedImages.h"
#include "host/ui/EventHandlers.h"
#include "host/ui/HostKeyCode.h"
#include "host/ui/InnerPluginPanel.h"

#include <wx/dc.h>
#include <wx/mstream.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <boost/bind/bind.hpp>

namespace Ombix::Kelvane {

namespace {

constexpr int idleIntervalMs = 40;
// While nothing happens the editor shows little that moves: idling it at full pace would cost the
// GUI thread a steady share of a core under some window systems.
constexpr int restingIdleIntervalMs = 250;
// How long a note, a key or a move of the pointer keeps the full pace: long enough for a sound's
// tail to be shown.
constexpr double activeSpellMs = 5000.0;

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(PluginPanel, wxScrolledWindow)
  EVT_ERASE_BACKGROUND(PluginPanel::OnEraseBackground)
  EVT_PAINT(PluginPanel::OnPaint)
  EVT_SIZE(PluginPanel::OnSize)
  EVT_KEY_DOWN(PluginPanel::OnKeyDown)
  EVT_KEY_UP(PluginPanel::OnKeyUp)
  EVT_TIMER(wxID_ANY, PluginPanel::OnTimer)
wxEND_EVENT_TABLE()
    // clang-format on

    PluginPanel::PluginPanel(wxWindow* parent)
    : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHSCROLL | wxVSCROLL, "panel") {
  SetWindowStyle(GetWindowStyle() | wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE);
  inner_ = new InnerPluginPanel(this);
  inner_->Hide();
  SetScrollRate(1, 1);
  const EmbeddedImage logo = LogoPng();
  wxMemoryInputStream stream(logo.data, logo.size);
  logo_.LoadFile(stream, wxBITMAP_TYPE_PNG);
  UpdateSize(nullptr);
  EditorShown(false);
  idleTimer_ = std::make_unique<wxTimer>(this);
  sinceActivity_ = std::make_unique<Common::System::Timer>();
  idleTimer_->Start(idleIntervalMs);
}

PluginPanel::~PluginPanel() {
  SetPlugin(nullptr);
  idleTimer_->Stop();
}

void PluginPanel::SetPlugin(IPlugin* plugin) {
  if (current_ != nullptr) {
    current_->Dispose();
  }
  current_ = plugin;
  if (plugin == nullptr) {
    return;
  }
  using boost::placeholders::_1;
  using boost::placeholders::_2;
  using boost::placeholders::_3;
  // Bound to this trackable panel: the connections end with it.
  plugin->Disposed.connect(boost::bind(&PluginPanel::OnPluginDisposed, this, _1));
  plugin->SizeChanged.connect(boost::bind(&PluginPanel::UpdateSize, this, _1));
  plugin->Activated.connect(boost::bind(&PluginPanel::OnPluginActivated, this, _1));
  plugin->MidiKey.connect(boost::bind(&PluginPanel::OnPluginMidiKey, this, _1, _2, _3));
}

bool PluginPanel::AllowsFrameFit() const {
  const wxSize outer = GetSize();
  const wxSize client = GetClientSize();
  return current_ == nullptr || (outer.x >= contentWidth_ && outer.y >= contentHeight_) || outer == client;
}

void PluginPanel::OnPluginActivated(IPlugin* plugin) {
  if (plugin != current_) {
    return;
  }
  plugin->OpenWindow(inner_->GetHandle());
  inner_->Show();
  NoteActivity();
  EditorShown(true);
  Name(plugin->GetName());
}

void PluginPanel::OnPluginDisposed(IPlugin* plugin) {
  // A plug-in that is no longer current has nothing on show here: the current one's editor
  // stays as it is.
  if (plugin != current_) {
    return;
  }
  EditorShown(false);
  current_ = nullptr;
  inner_->Hide();
  UpdateSize(nullptr);
  Refresh(false);
}

void PluginPanel::UpdateSize(IPlugin* plugin) {
  if (plugin != nullptr) {
    contentWidth_ = plugin->GetWidth();
    contentHeight_ = plugin->GetHeight();
  } else {
    contentWidth_ = logo_.GetWidth();
    contentHeight_ = logo_.GetHeight();
  }
  const wxSize content(contentWidth_, contentHeight_);
  SetMaxSize(content);
  inner_->SetSize(content);
  SetSize(content);
  LayoutChanged();
}

void PluginPanel::OnSize(wxSizeEvent&) {
  const wxSize outer = GetSize();
  if (outer.x >= contentWidth_ && outer.y >= contentHeight_) {
    FitInside();
    SetVirtualSize(contentWidth_, contentHeight_);
  }
}

void PluginPanel::OnTimer(wxTimerEvent&) {
  if (current_ != nullptr) {
    current_->IdleWindow();
  }
  PaceIdle();
}

void PluginPanel::NoteActivity() {
  sinceActivity_->Reset();
  PaceIdle();
}

int PluginPanel::IdleInterval() const {
  return idleTimer_->GetInterval();
}

void PluginPanel::PaceIdle() {
  // A pointer that moves over the main window is someone at work there; one that rests there is not.
  const wxPoint pointer = wxGetMousePosition();
  if (pointer != lastPointer_ && wxGetTopLevelParent(this)->GetScreenRect().Contains(pointer)) {
    sinceActivity_->Reset();
  }
  lastPointer_ = pointer;
  const int interval = sinceActivity_->ElapsedMs() < activeSpellMs ? idleIntervalMs : restingIdleIntervalMs;
  if (idleTimer_->GetInterval() != interval) {
    idleTimer_->Start(interval);
  }
}

void PluginPanel::OnPaint(wxPaintEvent& event) {
  SkipEvent(event);
}

void PluginPanel::OnEraseBackground(wxEraseEvent& event) {
  if (current_ != nullptr && current_->IsActive()) {
    event.Skip();
    return;
  }
  inner_->Hide();
  wxDC* dc = event.GetDC();
  if (dc == nullptr) {
    return;
  }
  // The panel can be larger than the logo: what lies beside and below it is cleared, not left stale.
  const wxSize client = GetClientSize();
  dc->SetPen(*wxTRANSPARENT_PEN);
  dc->SetBrush(wxBrush(GetBackgroundColour()));
  if (client.x > logo_.GetWidth()) {
    dc->DrawRectangle(logo_.GetWidth(), 0, client.x - logo_.GetWidth(), client.y);
  }
  if (client.y > logo_.GetHeight()) {
    dc->DrawRectangle(0, logo_.GetHeight(), logo_.GetWidth(), client.y - logo_.GetHeight());
  }
  dc->DrawBitmap(wxBitmap(logo_), 0, 0, false);
  dc->SetFont(wxFont(8, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false));
  dc->SetTextForeground(wxColour(255, 255, 255));
  dc->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const wxString version = wxString::Format("v%1d.%02d.%02d", 0, 9, 0);
  const wxSize text = dc->GetTextExtent(version);
  dc->DrawText(version, client.x - text.x - 5, 5);
}

void PluginPanel::OnKeyDown(wxKeyEvent& event) {
  SendKey(event, true);
}

void PluginPanel::OnKeyUp(wxKeyEvent& event) {
  SendKey(event, false);
}

void PluginPanel::SendKey(wxKeyEvent& event, bool down) {
  if (current_ == nullptr) {
    return;
  }
  NoteActivity();
  const int modifiers =
      (event.ShiftDown() ? 1 : 0) | (event.AltDown() ? 2 : 0) | (event.RawControlDown() ? 8 : 0);
  const PluginKeyEvent key{static_cast<int>(event.GetRawKeyCode()), ToHostKeyCode(event.GetKeyCode()),
                           modifiers};
  if (down) {
    current_->KeyDown(key);
  } else {
    current_->KeyUp(key);
  }
}

void PluginPanel::OnPluginMidiKey(IPlugin*, unsigned char note, bool on) {
  NoteActivity();
  Note(note, on);
}

}  // namespace Ombix::Kelvane
