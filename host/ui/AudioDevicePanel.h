#pragma once

#include <wx/panel.h>
#include <boost/signals2/trackable.hpp>
#include <vector>

class wxComboBox;
class wxScrollEvent;
class wxSlider;
class wxStaticText;

namespace Ombix::Kelvane {

class IDriverInfo;

// The controls of the audio settings: audio system, driver, sample rate, buffer size, the stereo
// output pair and the driver's own control panel. Follows the driver settings model's signals,
// so the lists refill while the dialog is open.
class AudioDevicePanel : public wxPanel, public boost::signals2::trackable {
 public:
  AudioDevicePanel(wxWindow* parent, IDriverInfo* model);
  ~AudioDevicePanel() override = default;

  // Stores the output pair, configures the driver with the chosen rate and buffer size and
  // starts it.
  void Apply();

  const std::vector<int>& GetBufferSizes() const { return bufferSizes_; }
  wxComboBox* GetSystemBox() const { return systemBox_; }
  wxComboBox* GetDriverBox() const { return driverBox_; }
  wxComboBox* GetRateBox() const { return rateBox_; }
  wxStaticText* GetSamplesLabel() const { return samplesLabel_; }
  wxSlider* GetBufferSlider() const { return bufferSlider_; }
  wxComboBox* GetLeftOutputBox() const { return leftBox_; }
  wxComboBox* GetRightOutputBox() const { return rightBox_; }

 private:
  void FillAudioSystems();
  void FillAudioDrivers();
  void FillRatesAndOutputs();
  void FillBufferSizes();
  void UpdateBufferLabel();
  void StoreOutputPair();
  void OnAudioSystemSelected(wxCommandEvent& event);
  void OnAudioDriverSelected(wxCommandEvent& event);
  void OnScroll(wxScrollEvent& event);
  void OnConfigPanel(wxCommandEvent& event);

  std::vector<int> bufferSizes_;
  IDriverInfo* model_;
  wxComboBox* systemBox_;
  wxComboBox* driverBox_;
  wxComboBox* rateBox_;
  wxStaticText* samplesLabel_;
  wxSlider* bufferSlider_;
  wxComboBox* leftBox_;
  wxComboBox* rightBox_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace Ombix::Kelvane
