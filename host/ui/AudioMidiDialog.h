#pragma once

#include <wx/dialog.h>
#include <boost/signals2/trackable.hpp>

namespace Ombix::Kelvane {

class AudioDevicePanel;
class IDriverInfo;

// The modal "Audio Settings" dialog: the audio device panel and an OK button that applies it.
class AudioMidiDialog : public wxDialog, public boost::signals2::trackable {
 public:
  AudioMidiDialog(wxWindow* parent, IDriverInfo* model);
  ~AudioMidiDialog() override = default;

  AudioDevicePanel* GetPanel() const { return panel_; }

 private:
  void OnOK(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);

  AudioDevicePanel* panel_;
  IDriverInfo* model_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace Ombix::Kelvane
