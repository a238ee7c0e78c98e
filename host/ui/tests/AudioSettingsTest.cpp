#include "host/ui/AudioDevicePanel.h"
#include "host/ui/AudioMidiDialog.h"
#include "host/ui/tests/FakeDriverInfo.h"
#include "host/ui/tests/WxTestEnvironment.h"

#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <climits>

namespace Ombix::Kelvane {
namespace {

using Testing::FakeDriverInfo;

class AudioSettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    FakeDriverInfo::Driver big{"Big", {44100.0, 48000.0, 96000.0},         48000.0, 512, 64, 2048,
                               -1,    {"Out 1", "Out 2", "Out 3", "Out 4"}};
    FakeDriverInfo::Driver mono{"Mono", {}, 22050.0, 128, 64, 2048, 32, {"Only"}};
    FakeDriverInfo::Driver fixed{"Primary", {44100.0}, 44100.0, 1024, 1024, 4096, 0, {"Left", "Right"}};
    model.AddSystem("ASIO", {big, mono});
    model.AddSystem("DirectSound", {fixed});
    model.SelectAudioSystem(0);
    dialog = new AudioMidiDialog(nullptr, &model);
    panel = dialog->GetPanel();
  }
  void TearDown() override { dialog->Destroy(); }

  void Choose(wxComboBox* box, int entry) {
    box->SetSelection(entry);
    wxCommandEvent event(wxEVT_COMBOBOX, box->GetId());
    event.SetEventObject(box);
    event.SetString(box->GetString(entry));
    event.SetInt(entry);
    box->GetEventHandler()->ProcessEvent(event);
  }
  // What the dialog's OK button applies.
  void PressOk() { panel->Apply(); }
  std::vector<int> StoredPair(const std::string& driver) {
    return model.outputSets["ASIO/" + driver + "/Stereo Output"];
  }

  FakeDriverInfo model;
  AudioMidiDialog* dialog = nullptr;
  AudioDevicePanel* panel = nullptr;
};

TEST_F(AudioSettingsTest, ShowsTheModelsChoices) {
  EXPECT_EQ(2u, panel->GetSystemBox()->GetCount());
  EXPECT_EQ("ASIO", panel->GetSystemBox()->GetValue());
  EXPECT_EQ(wxNOT_FOUND, panel->GetSystemBox()->GetSelection());
  EXPECT_EQ(2u, panel->GetDriverBox()->GetCount());
  EXPECT_EQ(0, panel->GetDriverBox()->GetSelection());
  EXPECT_EQ(3u, panel->GetRateBox()->GetCount());
  EXPECT_EQ(1, panel->GetRateBox()->GetSelection());
  EXPECT_EQ("48000", panel->GetRateBox()->GetValue());
  const std::vector<int> sizes = {64, 128, 256, 512, 1024, 2048};
  EXPECT_EQ(sizes, panel->GetBufferSizes());
  EXPECT_EQ(3, panel->GetBufferSlider()->GetValue());
  EXPECT_TRUE(panel->GetBufferSlider()->IsEnabled());
  EXPECT_EQ("  512 Samples", panel->GetSamplesLabel()->GetLabel());
  // A driver never set up plays on its first two outputs.
  EXPECT_EQ(5u, panel->GetLeftOutputBox()->GetCount());
  EXPECT_EQ("<disabled>", panel->GetLeftOutputBox()->GetString(0));
  EXPECT_EQ(1, panel->GetLeftOutputBox()->GetSelection());
  EXPECT_EQ(2, panel->GetRightOutputBox()->GetSelection());
}

TEST_F(AudioSettingsTest, OpensAtItsMinimumSize) {
  EXPECT_EQ(wxSize(500, 280), dialog->GetMinSize());
  EXPECT_EQ(wxSize(500, 280), dialog->GetSize());
  EXPECT_EQ("Audio Settings", dialog->GetTitle());
}

TEST_F(AudioSettingsTest, ADriverWithOneOutputAndAStepGranularity) {
  Choose(panel->GetDriverBox(), 1);
  EXPECT_EQ("Mono", panel->GetDriverBox()->GetValue());
  EXPECT_EQ(1, panel->GetLeftOutputBox()->GetSelection());
  EXPECT_EQ("Only", panel->GetLeftOutputBox()->GetStringSelection());
  EXPECT_EQ(0, panel->GetRightOutputBox()->GetSelection());
  const std::vector<int>& sizes = panel->GetBufferSizes();
  ASSERT_EQ(63u, sizes.size());
  EXPECT_EQ(64, sizes.front());
  EXPECT_EQ(96, sizes[1]);
  EXPECT_EQ(2048, sizes.back());
  EXPECT_EQ(2, panel->GetBufferSlider()->GetValue());
  // No rate list: the current rate as text only, and OK falls back to 44100.
  EXPECT_EQ(0u, panel->GetRateBox()->GetCount());
  EXPECT_EQ("22050", panel->GetRateBox()->GetValue());
  PressOk();
  ASSERT_EQ(1u, model.configured.size());
  EXPECT_DOUBLE_EQ(44100.0, model.configured[0].first);
  EXPECT_EQ(128, model.configured[0].second);
  EXPECT_EQ(std::vector<int>({0, -1}), StoredPair("Mono"));
}

TEST_F(AudioSettingsTest, ADriverWithoutARangeOffersOneSize) {
  Choose(panel->GetSystemBox(), 1);
  EXPECT_EQ("Primary", panel->GetDriverBox()->GetValue());
  EXPECT_EQ(std::vector<int>({1024}), panel->GetBufferSizes());
  EXPECT_FALSE(panel->GetBufferSlider()->IsEnabled());
  EXPECT_EQ("  1024 Samples", panel->GetSamplesLabel()->GetLabel());
}

TEST_F(AudioSettingsTest, SwitchingTheDriverAndBackRestoresTheOutputPair) {
  panel->GetLeftOutputBox()->SetSelection(4);
  panel->GetRightOutputBox()->SetSelection(3);
  Choose(panel->GetDriverBox(), 1);
  EXPECT_EQ(std::vector<int>({3, 2}), StoredPair("Big"));
  Choose(panel->GetDriverBox(), 0);
  EXPECT_EQ(4, panel->GetLeftOutputBox()->GetSelection());
  EXPECT_EQ(3, panel->GetRightOutputBox()->GetSelection());
}

TEST_F(AudioSettingsTest, MovingTheSliderUpdatesTheLabelAtOnce) {
  for (const wxEventType type : {wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_CHANGED}) {
    panel->GetBufferSlider()->SetValue(type == wxEVT_SCROLL_THUMBTRACK ? 5 : 0);
    wxScrollEvent scroll(type, panel->GetBufferSlider()->GetId());
    scroll.SetEventObject(panel->GetBufferSlider());
    panel->GetBufferSlider()->GetEventHandler()->ProcessEvent(scroll);
    EXPECT_EQ(type == wxEVT_SCROLL_THUMBTRACK ? "  2048 Samples" : "  64 Samples",
              panel->GetSamplesLabel()->GetLabel());
  }
}

TEST_F(AudioSettingsTest, OkConfiguresAndStartsTheDriver) {
  panel->GetRateBox()->SetSelection(2);
  panel->GetBufferSlider()->SetValue(1);
  panel->GetRightOutputBox()->SetSelection(0);
  PressOk();
  ASSERT_EQ(1u, model.configured.size());
  EXPECT_DOUBLE_EQ(96000.0, model.configured[0].first);
  EXPECT_EQ(128, model.configured[0].second);
  EXPECT_EQ(1, model.driverStarts);
  EXPECT_EQ(std::vector<int>({0, -1}), StoredPair("Big"));
}

TEST_F(AudioSettingsTest, ConfigPanelButtonOpensTheDriversOwnPanel) {
  wxCommandEvent click(wxEVT_BUTTON, 1004);
  panel->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(1, model.configPanelShown);
}

TEST(AudioSettingsLimits, AHugeMaximumGivesAFiniteListOfSizes) {
  FakeDriverInfo model;
  FakeDriverInfo::Driver wide{"Wide", {44100.0}, 44100.0, 256, 64, INT_MAX, -1, {"A", "B"}};
  model.AddSystem("ASIO", {wide});
  model.SelectAudioSystem(0);
  auto* dialog = new AudioMidiDialog(nullptr, &model);
  const std::vector<int>& sizes = dialog->GetPanel()->GetBufferSizes();
  ASSERT_EQ(25u, sizes.size());
  EXPECT_EQ(64, sizes.front());
  EXPECT_EQ(1 << 30, sizes.back());
  dialog->Destroy();
}

struct StepCase {
  int maximum;
  int granularity;
  int current;
};

// A fine step up to a huge maximum: the sizes start step by step and go on in doublings, so the
// list stays short, ascends, stays on the driver's steps and still offers the current size.
TEST(AudioSettingsLimits, AFineStepUpToAHugeMaximumGivesAShortListWithTheCurrentSize) {
  const StepCase cases[] = {{20000000, 1, 256}, {20000000, 1, 100001}, {INT_MAX, 32, 64 + 32 * 5000}};
  for (const StepCase& c : cases) {
    FakeDriverInfo model;
    FakeDriverInfo::Driver fine{"Fine", {44100.0}, 44100.0,       c.current,
                                64,     c.maximum, c.granularity, {"A", "B"}};
    model.AddSystem("ASIO", {fine});
    model.SelectAudioSystem(0);
    auto* dialog = new AudioMidiDialog(nullptr, &model);
    AudioDevicePanel* panel = dialog->GetPanel();
    const std::vector<int>& sizes = panel->GetBufferSizes();
    EXPECT_LE(sizes.size(), 1100u) << c.maximum << " " << c.granularity;
    EXPECT_EQ(64, sizes.front());
    EXPECT_EQ(64 + c.granularity, sizes[1]);
    EXPECT_GT(2LL * sizes.back() + c.granularity, static_cast<long long>(c.maximum));
    for (std::size_t i = 1; i < sizes.size(); ++i) {
      ASSERT_LT(sizes[i - 1], sizes[i]) << i;
      ASSERT_EQ(0, (sizes[i] - 64) % c.granularity) << sizes[i];
      ASSERT_LE(sizes[i], c.maximum);
    }
    EXPECT_EQ(wxString::Format("  %d Samples", c.current), panel->GetSamplesLabel()->GetLabel());
    dialog->Destroy();
  }
}

}  // namespace
}  // namespace Ombix::Kelvane
