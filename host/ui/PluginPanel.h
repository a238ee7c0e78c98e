#pragma once

#include <wx/image.h>
#include <wx/scrolwin.h>
#include <boost/signals2/signal.hpp>
#include <boost/signals2/trackable.hpp>
#include <memory>
#include <string>

class wxTimer;
class wxTimerEvent;

namespace Common::System {
class Timer;
}

namespace Ombix::Kelvane {

class IPlugin;
class InnerPluginPanel;

// The area of the main frame in which the hosted plug-in's editor lives: opens the editor in a
// child window, gives it idle time, takes the editor's size, shows a logo while no plug-in is
// active and hands keys to the plug-in. The editor idles every 40 ms while the pointer moved over the
// main window or notes or keys came in the last seconds, and every 250 ms while all rests.
class PluginPanel : public wxScrolledWindow, public boost::signals2::trackable {
 public:
  explicit PluginPanel(wxWindow* parent);
  ~PluginPanel() override;

  // Makes the plug-in current, disposing the one that was; null for none.
  void SetPlugin(IPlugin* plugin);
  IPlugin* GetPlugin() const { return current_; }
  // True when the frame may fit itself to the content: no plug-in, the panel is not smaller than
  // its content, or it shows no scroll bars.
  bool AllowsFrameFit() const;
  wxSize GetContentSize() const { return wxSize(contentWidth_, contentHeight_); }

  void OnKeyDown(wxKeyEvent& event);
  void OnKeyUp(wxKeyEvent& event);
  // Something happened that the editor may show (a note played): it idles at full pace again.
  void NoteActivity();
  // The time between two idle calls now, in milliseconds.
  int IdleInterval() const;

  boost::signals2::signal<void()> LayoutChanged;
  boost::signals2::signal<void(bool)> EditorShown;
  boost::signals2::signal<void(unsigned char note, bool on)> Note;
  boost::signals2::signal<void(const std::string&)> Name;

 private:
  void OnEraseBackground(wxEraseEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnPluginActivated(IPlugin* plugin);
  void OnPluginDisposed(IPlugin* plugin);
  void OnPluginMidiKey(IPlugin* plugin, unsigned char note, bool on);
  void UpdateSize(IPlugin* plugin);
  void SendKey(wxKeyEvent& event, bool down);
  // Full pace while something happened lately (the pointer moved over the main window, a note, a
  // key), else slow.
  void PaceIdle();

  int contentWidth_ = 0;
  int contentHeight_ = 0;
  wxImage logo_;
  InnerPluginPanel* inner_;
  std::unique_ptr<wxTimer> idleTimer_;
  std::unique_ptr<Common::System::Timer> sinceActivity_;
  wxPoint lastPointer_;  // where the pointer was at the last pacing
  IPlugin* current_ = nullptr;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace Ombix::Kelvane
