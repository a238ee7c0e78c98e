#include "host/ui/AudioMidiDialog.h"

#include "host/ui/AudioDevicePanel.h"

#include <wx/button.h>
#include <wx/sizer.h>

namespace Ombix::Kelvane {

namespace {

// Caption, close box and resize border, with the toolkit's old system-menu bit.
constexpr long dialogStyle = 0x20001048;

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(AudioMidiDialog, wxDialog)
  EVT_BUTTON(wxID_OK, AudioMidiDialog::OnOK)
  EVT_BUTTON(wxID_CANCEL, AudioMidiDialog::OnCancel)
  EVT_CLOSE(AudioMidiDialog::OnCloseWindow)
  EVT_CHAR_HOOK(AudioMidiDialog::OnCharHook)
wxEND_EVENT_TABLE()
    // clang-format on

    AudioMidiDialog::AudioMidiDialog(wxWindow* parent, IDriverInfo* model)
    : wxDialog(parent, wxID_ANY, "Audio Settings", wxDefaultPosition, wxDefaultSize, dialogStyle, "dialog"),
      model_(model) {
  Centre(wxBOTH);
  SetMinSize(wxSize(500, 280));
  SetSize(GetMinSize());
  panel_ = new AudioDevicePanel(this, model);

  auto* panelBox = new wxBoxSizer(wxVERTICAL);
  panelBox->Add(panel_, 1, wxEXPAND | wxALL, 0);
  auto* buttonBox = new wxBoxSizer(wxHORIZONTAL);
  buttonBox->Add(0, 0, 1);
  buttonBox->Add(
      new wxButton(this, wxID_OK, "&OK", wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator, "button"),
      0, wxALL, 5);  // the spacer keeps it at the right
  auto* dialogBox = new wxBoxSizer(wxVERTICAL);
  dialogBox->Add(panelBox, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 0);
  dialogBox->Add(buttonBox, 0, wxEXPAND | wxALL, 0);
  SetSizer(dialogBox);
  Layout();
}

void AudioMidiDialog::OnOK(wxCommandEvent&) {
  panel_->Apply();
  EndModal(wxID_OK);
}

void AudioMidiDialog::OnCancel(wxCommandEvent&) {
  Cancel();
}

// The toolkit would turn the close box, Alt+F4 and Esc into a click on the only button there is,
// OK: they cancel instead.
void AudioMidiDialog::OnCloseWindow(wxCloseEvent&) {
  Cancel();
}

void AudioMidiDialog::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE && !event.HasAnyModifiers()) {
    Cancel();
    return;
  }
  event.Skip();
}

void AudioMidiDialog::Cancel() {
  if (IsModal()) {
    EndModal(wxID_CANCEL);
  } else {
    Hide();
  }
}

}  // namespace Ombix::Kelvane
