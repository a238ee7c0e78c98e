#pragma once

#include <wx/dialog.h>
#include <boost/signals2/trackable.hpp>

namespace Ombix::Kelvane {

class AudioDevicePanel;
class IDriverInfo;

// The modal "Audio Settings" dialog: the audio device panel and an OK button that applies it. The
// close box, Alt+F4 and Esc cancel it: nothing is applied.
class AudioMidiDialog : public wxDialog, public boost::signals2::trackable {
 public:
  AudioMidiDialog(wxWindow* parent, IDriverInfo* model);
  ~AudioMidiDialog() override = default;

  AudioDevicePanel* GetPanel() const { return panel_; }

 private:
  void OnOK(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnCloseWindow(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  // Ends the dialog without applying anything.
  void Cancel();

  AudioDevicePanel* panel_;
  IDriverInfo* model_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace Ombix::Kelvane
