#pragma once

#include <wx/frame.h>
#include <memory>
#include <string>

class wxTimer;
class wxTimerEvent;

namespace Common::Config {
class Configuration;
}

namespace Ombix::Kelvane {

class ILogic;
class IPlugin;
class KeyboardPanel;
class PluginPanel;

// The host's main window: the plug-in's editor above the on-screen keyboard, sized to fit the
// editor exactly. It owns the host core's Logic and is where work from other threads re-enters
// the GUI thread.
class PluginWindow : public wxFrame {
 public:
  PluginWindow(Common::Config::Configuration* configuration, wxWindow* parent, const std::string& title);
  ~PluginWindow() override;

  // Takes ownership of the core, connects to it and starts the audio; asks for the audio
  // settings when audio is still inactive.
  void ConnectLogic(ILogic* logic);
  // Asks with a file dialog until a plug-in is chosen or the user decides to exit.
  void AskForPlugin();
  void ShowAudioSettings();
  // Any thread: wakes the GUI thread to process the core's commands and events.
  void PostCommandsPending();

  PluginPanel* GetPanel() const { return panel_; }
  KeyboardPanel* GetKeyboard() const { return keyboard_; }
  bool IsEditorShown() const { return editorShown_; }

 private:
  void OnCommandsPending(wxCommandEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnKeyUp(wxKeyEvent& event);
  void OnMenuKeyboard(wxCommandEvent& event);
  void OnMenuExit(wxCommandEvent& event);
  void OnMenuAudioSettings(wxCommandEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnClose(wxCloseEvent& event);

  void ProcessPending();
  void UpdateTitle();
  void OnPluginNameChanged(const std::string& name);
  void OnPluginAdded(IPlugin* plugin);
  void OnPluginLoadFailed(IPlugin* plugin);
  bool ChoosePlugin();
  void OnKeyboardNote(unsigned char note, bool on);
  void OnPluginNote(unsigned char note, bool on);
  void SetEditorShown(bool shown);
  void UpdateKeyboardVisibility();
  void FitFrame();
  wxSize MaximumFrameSize() const;
  int KeyboardHeight() const;

  bool audioInactiveBlink_ = false;
  std::unique_ptr<wxTimer> titleTimer_;
  std::string title_;
  std::string pluginName_;
  bool editorShown_ = false;
  bool keyboardChecked_ = false;
  // Set once the frame closes: the audio, silenced, is not started again.
  bool closing_ = false;
  ILogic* logic_ = nullptr;
  Common::Config::Configuration* configuration_;
  PluginPanel* panel_ = nullptr;
  KeyboardPanel* keyboard_ = nullptr;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace Ombix::Kelvane
