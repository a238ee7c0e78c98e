// The host's main window and core playing the recording plug-in through the test ASIO driver,
// whose own thread runs the blocks: the on-screen keyboard played with the mouse, and a quit
// while a note sounds.
#include "common/config/Configuration.h"
#include "host/core/IDriverInfo.h"
#include "host/core/IPlugin.h"
#include "host/core/Logic.h"
#include "host/core/tests/TestAsioInstall.h"
#include "host/hosting/tests/LogCapture.h"
#include "host/hosting/tests/TestPluginLibrary.h"
#include "host/ui/KeyboardModel.h"
#include "host/ui/KeyboardPanel.h"
#include "host/ui/MessageBoxes.h"
#include "host/ui/PluginPanel.h"
#include "host/ui/PluginWindow.h"
#include "host/ui/tests/WxTestEnvironment.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <wx/toplevel.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace Ombix::Kelvane {
namespace {

using Lines = std::vector<std::string>;

constexpr int keyboardMenu = 3;
// A sample at 0.5 of full scale, as the test driver decodes 32-bit samples.
constexpr double halfScale = 1073741824.0;

class PlayTest : public testing::Test {
 protected:
  void SetUp() override {
    TestAsio::Config driver;
    driver.timerThread = 1;
    driver.timerPeriodMs = 2;
    asio.Configure(driver);
    // No inputs: it writes 0.5 to both outputs.
    recorder.Configure(0, 2, 1, effFlagsCanReplacing | effFlagsHasEditor | effFlagsIsSynth);

    const std::string folder = Testing::makeTempFolder("ui_play");
    configuration = std::make_unique<Common::Config::Configuration>(folder + "Quillam.cfg");
    SetMessageAnswerer([](const std::string&, const std::string&, long) { return wxNO; });
    frame = new PluginWindow(configuration.get(), nullptr, "Quillam");
    logic = new Logic(frame->GetHWND(), configuration.get(), "Ombix Labs", "Quillam", 900);
    frame->ConnectLogic(logic);

    IDriverInfo* info = logic->GetDriverInfo();
    info->SelectAudioDriverByName("Test ASIO");
    logic->ProcessCommands();
    info->SetOutputConfig("Stereo Output", {0, 1});
    info->StartDriver();
    ASSERT_TRUE(Testing::PumpEventsUntil([this] { return logic->IsAudioRunning(); }));

    logic->CreatePlugin(recorder.Path());
    ASSERT_TRUE(Testing::PumpEventsUntil([this] { return frame->IsEditorShown(); }));
    wxCommandEvent check(wxEVT_MENU, keyboardMenu);
    check.SetInt(1);
    frame->GetEventHandler()->ProcessEvent(check);
    keyboard = frame->GetKeyboard();
    ASSERT_TRUE(keyboard->IsShown());
    ASSERT_TRUE(Testing::PumpEventsUntil([this] {
      return std::fabs(keyboard->ScrollPosition() - keyboard->ScrollTarget()) < 0.1f &&
             asio.BlockCount() > 60;
    }));
    recorder.Clear();
  }
  void TearDown() override {
    if (FrameAlive()) frame->Destroy();
    Testing::PumpEventsUntil([this] { return !FrameAlive(); });
    SetMessageAnswerer(nullptr);
  }

  bool FrameAlive() const { return wxTopLevelWindows.Find(frame) != nullptr; }
  // A mouse button message as the keyboard's window receives it from a click at (x, y).
  void Mouse(UINT message, int x, int y) {
    PostMessageA(keyboard->GetHWND(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    Testing::PumpEventsFor(30);
  }
  // The MIDI the plug-in received, without the timing.
  Lines Midi() const {
    Lines midi;
    for (const std::string& line : recorder.Lines("midi "))
      midi.push_back(line.substr(0, line.find(" delta")));
    return midi;
  }

  Testing::TestAsioInstall asio;
  Testing::RecordingPluginLibrary recorder;
  std::unique_ptr<Common::Config::Configuration> configuration;
  PluginWindow* frame = nullptr;
  Logic* logic = nullptr;  // owned by the frame
  KeyboardPanel* keyboard = nullptr;
};

TEST_F(PlayTest, AClickOnAKeyPlaysItsNoteWithVelocity100AndTheReleaseEndsIt) {
  // The lower part of the key of note 60, where only that white key lies.
  const int x = keyboard->KeyLeftEdge(60) + 9;
  const int y = 80;
  ASSERT_EQ(60, keyboard->NoteAt(x, y));
  Mouse(WM_LBUTTONDOWN, x, y);
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return !Midi().empty(); }));
  EXPECT_EQ(Lines{"midi 90 60 100"}, Midi());
  EXPECT_EQ(1, keyboard->GetModel()->notes[60]);
  Mouse(WM_LBUTTONUP, x, y);
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return Midi().size() == 2; }));
  EXPECT_EQ((Lines{"midi 90 60 100", "midi 80 60 100"}), Midi());
  EXPECT_EQ(0, keyboard->GetModel()->notes[60]);
}

HHOOK titleHook = nullptr;
HWND titledWindow = nullptr;
int titlesSet = 0;

LRESULT CALLBACK CountTitles(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code >= 0 && message->hwnd == titledWindow && message->message == WM_SETTEXT) ++titlesSet;
  return CallNextHookEx(titleHook, code, wParam, lParam);
}

// While the audio runs the title stays the plug-in's name: the title timer's ticks do not set it
// again (each new title costs the window system a round trip).
TEST_F(PlayTest, TheTitleIsSetOnlyWhenItChanges) {
  const std::string name = frame->GetPanel()->GetPlugin()->GetName();
  ASSERT_TRUE(Testing::PumpEventsUntil([&] { return frame->GetTitle() == name; }, 3000));
  titledWindow = frame->GetHWND();
  titlesSet = 0;
  titleHook = SetWindowsHookExA(WH_CALLWNDPROC, CountTitles, nullptr, GetCurrentThreadId());
  ASSERT_NE(nullptr, titleHook);
  Testing::PumpEventsFor(3300);  // two ticks of the title timer
  UnhookWindowsHookEx(titleHook);
  EXPECT_EQ(0, titlesSet);
  EXPECT_EQ(name, frame->GetTitle());
}

// Closing the window while a note sounds: the note is released and every channel's notes are
// switched off, the output fades to silence, silent blocks go out and only then the driver stops
// and the plug-in is closed.
TEST_F(PlayTest, QuittingWhileANoteSoundsFadesToSilenceBeforeTheAudioStops) {
  const int x = keyboard->KeyLeftEdge(64) + 9;
  Mouse(WM_LBUTTONDOWN, x, 80);
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return !Midi().empty(); }));
  Testing::LogCapture log;
  frame->Close(false);
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return !FrameAlive(); }));
  // Once stopped, the audio stays stopped.
  const std::string text = log.Text();
  ASSERT_NE(std::string::npos, text.find("=> StopDriver\n")) << text;
  EXPECT_EQ(std::string::npos, text.find("=> StartDriver", text.find("=> StopDriver\n"))) << text;

  const Lines midi = Midi();
  ASSERT_EQ(2u + 32u, midi.size());
  EXPECT_EQ("midi 90 64 100", midi[0]);
  EXPECT_EQ("midi 80 64 100", midi[1]);
  for (int channel = 0; channel < 16; ++channel) {
    char allNotesOff[32];
    char allSoundOff[32];
    std::snprintf(allNotesOff, sizeof allNotesOff, "midi %02x 123 0", 0xB0 | channel);
    std::snprintf(allSoundOff, sizeof allSoundOff, "midi %02x 120 0", 0xB0 | channel);
    EXPECT_EQ(allNotesOff, midi[2 + 2 * channel]);
    EXPECT_EQ(allSoundOff, midi[3 + 2 * channel]);
  }
  // The plug-in was closed last.
  EXPECT_EQ("disp 1 0 0 0.00000", recorder.Lines("disp ").back());

  for (const long channel : {0L, 1L}) {
    const std::vector<long> output = asio.Output(channel);
    // From the last sample at full level on, the output only falls, in small steps, to silence.
    std::size_t fadeStart = output.size();
    for (std::size_t i = output.size(); i-- > 0;) {
      if (output[i] >= halfScale - 1) {
        fadeStart = i;
        break;
      }
    }
    ASSERT_LT(fadeStart, output.size()) << channel;
    for (std::size_t i = fadeStart + 1; i < output.size(); ++i) {
      ASSERT_LE(output[i], output[i - 1]) << channel << " at " << i;
      ASSERT_LE(output[i - 1] - output[i], halfScale / 100) << channel << " at " << i;
    }
    // At least two whole blocks of silence went out before the driver stopped.
    ASSERT_GE(output.size() - fadeStart, 2u * 256u) << channel;
    EXPECT_TRUE(std::all_of(output.end() - 512, output.end(), [](long sample) { return sample == 0; }))
        << channel;
  }
}

}  // namespace
}  // namespace Ombix::Kelvane
