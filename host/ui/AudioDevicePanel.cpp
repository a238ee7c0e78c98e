#include "host/ui/AudioDevicePanel.h"

#include "host/core/IDriverInfo.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <algorithm>
#include <boost/bind/bind.hpp>
#include <cmath>
#include <string>

namespace Ombix::Kelvane {

namespace {

enum ControlId { SystemBoxId = 1001, DriverBoxId = 1002, RateBoxId = 1003, ConfigButtonId = 1004 };

const char* const outputConfigName = "Stereo Output";
const char* const disabledOutput = "<disabled>";
constexpr double fallbackRate = 44100.0;

// A drop-down list whose text field only shows the chosen entry.
wxComboBox* MakeListBox(wxWindow* parent, int id, const wxString& text) {
  auto* box = new wxComboBox(parent, id, text, wxDefaultPosition, wxDefaultSize, 0, nullptr, 0,
                             wxDefaultValidator, "comboBox");
  box->SetEditable(false);
  return box;
}

wxStaticText* MakeLabel(wxWindow* parent, const wxString& text, const wxSize& size = wxDefaultSize) {
  return new wxStaticText(parent, wxID_ANY, text, wxDefaultPosition, size, 0, "staticText");
}

wxString FormatRate(double rate) {
  return wxString::Format("%.0f", rate);
}

// A slider cannot offer more sizes than this one by one: a driver with a fine step and a large
// maximum gets its first sizes step by step and the rest in doublings.
constexpr long long maxStepSizes = 1024;

// The size after size in a list that starts at minimum and steps by granularity: one step while the
// list is short, else the first size on the driver's steps at or above twice size.
long long NextStepSize(long long size, long long minimum, long long granularity) {
  const long long stepped = size + granularity;
  if ((size - minimum) / granularity + 1 < maxStepSizes) {
    return stepped;
  }
  const long long doubled = minimum + (2 * size - minimum + granularity - 1) / granularity * granularity;
  return std::max(stepped, doubled);
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(AudioDevicePanel, wxPanel)
  EVT_COMBOBOX(SystemBoxId, AudioDevicePanel::OnAudioSystemSelected)
  EVT_COMBOBOX(DriverBoxId, AudioDevicePanel::OnAudioDriverSelected)
  EVT_SCROLL(AudioDevicePanel::OnScroll)
  EVT_BUTTON(ConfigButtonId, AudioDevicePanel::OnConfigPanel)
wxEND_EVENT_TABLE()
    // clang-format on

    AudioDevicePanel::AudioDevicePanel(wxWindow* parent, IDriverInfo* model)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER, "panel"),
      model_(model) {
  systemBox_ = MakeListBox(this, SystemBoxId, "");
  driverBox_ = MakeListBox(this, DriverBoxId, "");
  auto* configButton = new wxButton(this, ConfigButtonId, "Config Panel", wxDefaultPosition, wxDefaultSize, 0,
                                    wxDefaultValidator, "button");
  rateBox_ = MakeListBox(this, RateBoxId, "");
  bufferSlider_ = new wxSlider(this, wxID_ANY, 0, 0, 4, wxDefaultPosition, wxDefaultSize, wxSL_HORIZONTAL,
                               wxDefaultValidator, "slider");
  const wxSize labelSize(configButton->GetSize().x, -1);
  samplesLabel_ = MakeLabel(this, "  Samples", labelSize);
  wxStaticText* hzLabel = MakeLabel(this, "  Hz", labelSize);

  auto* settings = new wxFlexGridSizer(2, 5, 5);
  settings->AddGrowableCol(1);
  settings->Add(MakeLabel(this, "Driver:   "), 0, wxALIGN_CENTER_VERTICAL, 0);
  settings->Add(systemBox_, 1, wxEXPAND | wxALL, 0);
  auto* deviceRow = new wxBoxSizer(wxHORIZONTAL);
  deviceRow->Add(driverBox_, 1, wxEXPAND | wxALL, 0);
  deviceRow->Add(configButton, 0, 0, 0);
  settings->Add(MakeLabel(this, "Device:   "), 0, wxALIGN_CENTER_VERTICAL, 0);
  settings->Add(deviceRow, 1, wxEXPAND | wxALL, 0);
  auto* rateRow = new wxBoxSizer(wxHORIZONTAL);
  rateRow->Add(rateBox_, 1, wxEXPAND | wxALL, 0);
  rateRow->Add(hzLabel, 0, wxALIGN_CENTER_VERTICAL, 0);
  settings->Add(MakeLabel(this, "Sample Rate:   "), 0, wxALIGN_CENTER_VERTICAL, 0);
  settings->Add(rateRow, 1, wxEXPAND | wxALL, 0);
  auto* bufferRow = new wxBoxSizer(wxHORIZONTAL);
  bufferRow->Add(bufferSlider_, 1, wxEXPAND | wxALL, 0);
  bufferRow->Add(samplesLabel_, 0, wxALIGN_CENTER_VERTICAL, 0);
  settings->Add(MakeLabel(this, "Buffer Size:   "), 0, wxALIGN_CENTER_VERTICAL, 0);
  settings->Add(bufferRow, 1, wxEXPAND | wxALL, 0);

  auto* outputs = new wxFlexGridSizer(2, 5, 5);
  outputs->AddGrowableCol(1);
  outputs->Add(5, 5);
  outputs->Add(MakeLabel(this, "Outputs:"), 0, wxALIGN_CENTER_VERTICAL);
  leftBox_ = MakeListBox(this, wxID_ANY, disabledOutput);
  outputs->Add(MakeLabel(this, "Left:"), 0, wxALIGN_CENTER_VERTICAL);
  outputs->Add(leftBox_, 1, wxEXPAND | wxALL, 5);
  rightBox_ = MakeListBox(this, wxID_ANY, disabledOutput);
  outputs->Add(MakeLabel(this, "Right:"), 0, wxALIGN_CENTER_VERTICAL);
  outputs->Add(rightBox_, 1, wxEXPAND | wxALL, 5);

  auto* main = new wxBoxSizer(wxVERTICAL);
  main->Add(settings, 1, wxEXPAND | wxALL, 5);
  main->Add(outputs, 0, wxEXPAND | wxALL, 2);
  SetSizer(main);

  // Bound to this trackable panel: the connections end with it.
  model_->SystemListChanged.connect(boost::bind(&AudioDevicePanel::FillAudioSystems, this));
  model_->DriverListChanged.connect(boost::bind(&AudioDevicePanel::FillAudioDrivers, this));
  model_->DriverChanged.connect(boost::bind(&AudioDevicePanel::FillRatesAndOutputs, this));
  FillAudioSystems();
  FillAudioDrivers();
  FillRatesAndOutputs();
}

void AudioDevicePanel::FillAudioSystems() {
  systemBox_->Clear();
  for (const std::string& name : model_->GetAudioSystems()) {
    systemBox_->Append(name);
  }
  systemBox_->SetValue(model_->GetAudioSystemName());
}

void AudioDevicePanel::FillAudioDrivers() {
  driverBox_->Clear();
  const std::string current = model_->GetAudioDriverName();
  driverBox_->SetValue(current);
  for (const std::string& name : model_->GetAudioDrivers()) {
    const int index = driverBox_->Append(name);
    if (name == current) {
      driverBox_->SetSelection(index);
    }
  }
}

void AudioDevicePanel::FillRatesAndOutputs() {
  const double current = model_->GetSampleRate();
  rateBox_->Clear();
  rateBox_->SetValue(FormatRate(current));
  for (const double rate : model_->GetSampleRates()) {
    const int index = rateBox_->Append(FormatRate(rate));
    if (std::fabs(rate - current) <= 0.01) {
      rateBox_->SetSelection(index);
    }
  }
  FillAudioDrivers();

  for (wxComboBox* box : {leftBox_, rightBox_}) {
    box->Clear();
    box->Append(disabledOutput);
    for (const std::string& name : model_->GetOutputNames()) {
      box->Append(name);
    }
  }
  std::vector<int> channels;
  model_->LoadOutputConfig(outputConfigName, channels);
  if (channels.size() >= 2) {
    const auto select = [](wxComboBox* box, int channel) {
      const int entry = channel + 1;
      box->SetSelection(entry >= 0 && entry < static_cast<int>(box->GetCount()) ? entry : 0);
    };
    select(leftBox_, channels[0]);
    select(rightBox_, channels[1]);
  }
  const int outputCount = static_cast<int>(model_->GetOutputNames().size());
  if (leftBox_->GetSelection() == wxNOT_FOUND) {
    leftBox_->SetSelection(outputCount >= 1 ? 1 : 0);
  }
  if (rightBox_->GetSelection() == wxNOT_FOUND) {
    rightBox_->SetSelection(outputCount >= 2 ? 2 : 0);
  }
  FillBufferSizes();
}

void AudioDevicePanel::FillBufferSizes() {
  bufferSizes_.clear();
  const long long granularity = model_->GetBufferGranularity();
  const long long minimum = model_->GetMinBufferSize();
  const long long maximum = model_->GetMaxBufferSize();
  // Counted in 64 bits, so a driver that reports a maximum near the top of int cannot make the
  // count wrap around and never end.
  if (granularity < 0) {
    for (long long size = 1; size <= maximum; size *= 2) {
      if (size >= minimum) {
        bufferSizes_.push_back(static_cast<int>(size));
      }
    }
  } else if (granularity > 0) {
    for (long long size = minimum; size <= maximum; size = NextStepSize(size, minimum, granularity)) {
      bufferSizes_.push_back(static_cast<int>(size));
    }
  }
  if (bufferSizes_.empty()) {
    bufferSizes_.push_back(static_cast<int>(minimum));
  }

  const int current = model_->GetBufferSize();
  // Past the steps the list skips sizes the driver takes; its current one is offered all the same.
  if (granularity > 0 && current >= minimum && current <= maximum && (current - minimum) % granularity == 0) {
    const auto at = std::lower_bound(bufferSizes_.begin(), bufferSizes_.end(), current);
    if (at == bufferSizes_.end() || *at != current) {
      bufferSizes_.insert(at, current);
    }
  }
  bufferSlider_->SetValue(0);
  bufferSlider_->SetRange(bufferSlider_->GetMin(), static_cast<int>(bufferSizes_.size()) - 1);
  for (std::size_t i = 0; i < bufferSizes_.size(); ++i) {
    if (bufferSizes_[i] == current) {
      bufferSlider_->SetValue(static_cast<int>(i));
    }
  }
  bufferSlider_->Enable(bufferSizes_.size() >= 2);
  UpdateBufferLabel();
}

void AudioDevicePanel::UpdateBufferLabel() {
  const int index = bufferSlider_->GetValue();
  const int size = index >= 0 && index < static_cast<int>(bufferSizes_.size()) ? bufferSizes_[index] : 0;
  samplesLabel_->SetLabel(wxString::Format("  %d Samples", size));
}

void AudioDevicePanel::OnScroll(wxScrollEvent&) {
  UpdateBufferLabel();
}

void AudioDevicePanel::StoreOutputPair() {
  model_->SetOutputConfig(outputConfigName, {leftBox_->GetSelection() - 1, rightBox_->GetSelection() - 1});
}

void AudioDevicePanel::OnAudioSystemSelected(wxCommandEvent& event) {
  StoreOutputPair();
  model_->SelectAudioSystemByName(event.GetString().ToStdString());
}

void AudioDevicePanel::OnAudioDriverSelected(wxCommandEvent& event) {
  StoreOutputPair();
  model_->SelectAudioDriverByName(event.GetString().ToStdString());
}

void AudioDevicePanel::OnConfigPanel(wxCommandEvent&) {
  model_->ShowAudioConfigPanel();
}

void AudioDevicePanel::Apply() {
  StoreOutputPair();
  const int index = bufferSlider_->GetValue();
  const int size = index >= 0 && index < static_cast<int>(bufferSizes_.size()) ? bufferSizes_[index] : 0;
  double rate = fallbackRate;
  const int entry = rateBox_->GetSelection();
  const std::vector<double>& rates = model_->GetSampleRates();
  if (entry != wxNOT_FOUND && entry < static_cast<int>(rates.size())) {
    rate = rates[entry];
  }
  model_->ConfigureDriver(rate, size);
  model_->StartDriver();
}

}  // namespace Ombix::Kelvane
