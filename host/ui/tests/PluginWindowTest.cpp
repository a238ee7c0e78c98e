#include "host/ui/PluginWindow.h"

#include "common/config/Configuration.h"
#include "host/core/IPlugin.h"
#include "host/core/Logic.h"
#include "host/ui/KeyboardModel.h"
#include "host/ui/KeyboardPanel.h"
#include "host/ui/MessageBoxes.h"
#include "host/ui/PluginPanel.h"
#include "host/ui/tests/WxTestEnvironment.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <wx/toplevel.h>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace Ombix::Kelvane {
namespace {

const char* const audioWarning = "Audio inactive - Please check audio settings";

// The main frame with a real core, as the application builds them; every question the frame
// asks is recorded and answered with `answer`.
class PluginWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    folder = Testing::makeTempFolder("ui_frame");
    configuration = std::make_unique<Common::Config::Configuration>(folder + "Quillam.cfg");
    SetMessageAnswerer([this](const std::string& text, const std::string&, long) {
      questions.push_back(text);
      return answer;
    });
    frame = new PluginWindow(configuration.get(), nullptr, "Quillam");
    logic = new Logic(frame->GetHWND(), configuration.get(), "Ombix Labs", "Quillam", 900);
    frame->ConnectLogic(logic);
  }
  void TearDown() override {
    if (FrameAlive()) {
      frame->Destroy();
    }
    Testing::PumpEventsUntil([this] { return !FrameAlive(); });
    SetMessageAnswerer(nullptr);
  }
  bool FrameAlive() const { return wxTopLevelWindows.Find(frame) != nullptr; }
  void Menu(int id, bool checked) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetInt(checked ? 1 : 0);
    frame->GetEventHandler()->ProcessEvent(event);
  }

  std::string folder;
  std::unique_ptr<Common::Config::Configuration> configuration;
  PluginWindow* frame = nullptr;
  Logic* logic = nullptr;  // owned by the frame
  std::vector<std::string> questions;
  int answer = wxNO;
};

TEST_F(PluginWindowTest, HostsTheInstrumentAndFitsItsSize) {
  // No driver is set up in the test's store: the frame offers the settings once.
  ASSERT_EQ(1u, questions.size());
  EXPECT_EQ("Audio is currently inactive. Open config dialog?", questions[0]);
  EXPECT_EQ(wxSize(500, 400), frame->GetClientSize());
  EXPECT_FALSE(frame->IsEditorShown());
  EXPECT_FALSE(frame->HasFlag(wxRESIZE_BORDER));

  // Checking the keyboard without an editor changes nothing.
  Menu(3, true);
  EXPECT_EQ(wxSize(500, 400), frame->GetClientSize());
  Menu(3, false);

  logic->CreatePlugin(Testing::binaryFolder() + "zintara3.dll");
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return frame->IsEditorShown(); }));
  IPlugin* plugin = frame->GetPanel()->GetPlugin();
  ASSERT_NE(nullptr, plugin);
  EXPECT_TRUE(plugin->IsActive());
  EXPECT_TRUE(frame->HasFlag(wxRESIZE_BORDER));
  // The frame fits the instrument's own editor.
  const wxSize editor(632, 373);
  EXPECT_EQ(editor, frame->GetClientSize());

  // While audio is down the title alternates between the warning and the plug-in's name.
  const std::string name = plugin->GetName();
  EXPECT_FALSE(name.empty());
  EXPECT_TRUE(Testing::PumpEventsUntil([&] { return frame->GetTitle() == name; }));
  EXPECT_TRUE(Testing::PumpEventsUntil([&] { return frame->GetTitle() == audioWarning; }));
  EXPECT_TRUE(Testing::PumpEventsUntil([&] { return frame->GetTitle() == name; }));

  // The keyboard grows the frame by its height and shrinks it back.
  Menu(3, true);
  EXPECT_TRUE(frame->GetKeyboard()->IsShown());
  EXPECT_EQ(editor + wxSize(0, 95), frame->GetClientSize());
  Menu(3, false);
  EXPECT_FALSE(frame->GetKeyboard()->IsShown());
  EXPECT_EQ(editor, frame->GetClientSize());

  // Notes the plug-in reports light the keyboard without being sent back.
  std::vector<int> sent;
  frame->GetKeyboard()->noteSignal.connect([&](unsigned char note, bool) { sent.push_back(note); });
  plugin->MidiKey(plugin, 64, true);
  EXPECT_EQ(1, frame->GetKeyboard()->GetModel()->notes[64]);
  EXPECT_TRUE(sent.empty());

  frame->Close(true);
  EXPECT_TRUE(Testing::PumpEventsUntil([this] { return !FrameAlive(); }));
}

TEST_F(PluginWindowTest, APluginThatFailsToLoadAsksWhetherToExit) {
  const std::string notAPlugin = folder + "broken.dll";
  std::ofstream(notAPlugin) << "not a library";
  answer = wxYES;
  logic->CreatePlugin(notAPlugin);
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return questions.size() == 2; }));
  EXPECT_EQ("Plugin " + notAPlugin + " could not be loaded! Exit program?", questions[1]);
  EXPECT_TRUE(Testing::PumpEventsUntil([this] { return !FrameAlive(); }));
}

}  // namespace
}  // namespace Ombix::Kelvane
