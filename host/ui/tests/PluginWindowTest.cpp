#include "host/ui/PluginWindow.h"

#include "common/config/Configuration.h"
#include "host/core/IPlugin.h"
#include "host/core/Logic.h"
#include "host/hosting/tests/LogCapture.h"
#include "host/ui/KeyboardModel.h"
#include "host/ui/KeyboardPanel.h"
#include "host/ui/MessageBoxes.h"
#include "host/ui/PluginPanel.h"
#include "host/ui/tests/WindowScript.h"
#include "host/ui/tests/WxTestEnvironment.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <wx/toplevel.h>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace Ombix::Kelvane {
namespace {

const char* const audioWarning = "Audio inactive - Please check audio settings";
const char* const fileDialogTitle = "Choose a plugin to open";
const char* const defaultPathKey = "PluginSystem/VST2/DefaultPath";

using Testing::WindowScript;
using Failures = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Chooses the file in the file dialog the way a user does: types its name, presses Open.
void ChooseInFileDialog(WindowScript& script, const std::string& name) {
  HWND dialog = script.WaitFor(fileDialogTitle);
  if (dialog == nullptr) return;
  WindowScript::TypeFileName(dialog, name);
  WindowScript::PressButton(dialog, IDOK);
  script.WaitUntilGone(dialog);
}

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
  // The configuration as it would be saved now.
  std::string SavedConfiguration() {
    const std::string path = folder + "snapshot.cfg";
    configuration->GetDocument()->Save(path);
    return ReadFile(path);
  }
  // A copy of the instrument under the name, in a folder of its own; answers the folder.
  std::string InstrumentCopies(const std::string& folderName, const std::vector<std::string>& names) {
    const std::string copies = Testing::makeTempFolder(folderName);
    for (const std::string& name : names) {
      EXPECT_TRUE(
          CopyFileA((Testing::binaryFolder() + "zintara3.dll").c_str(), (copies + name).c_str(), FALSE));
    }
    return copies;
  }
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

struct CancelCase {
  const char* name;
  std::function<void(WindowScript&, HWND)> cancel;
};

// The close box, Alt+F4 and Esc cancel the audio settings: the driver is not configured and
// nothing is stored. OK, the dialog's own button, applies them.
TEST_F(PluginWindowTest, TheAudioSettingsCancelWithTheCloseBoxAltF4AndEscape) {
  const std::string before = SavedConfiguration();
  const CancelCase cases[] = {
      {"close box", [](WindowScript&, HWND dialog) { WindowScript::CloseBox(dialog); }},
      {"Alt+F4", [](WindowScript&, HWND dialog) { WindowScript::PressKey(dialog, VK_F4, true); }},
      {"Esc", [](WindowScript&, HWND dialog) { WindowScript::PressKey(dialog, VK_ESCAPE, false); }},
  };
  for (const CancelCase& c : cases) {
    Testing::LogCapture log;
    WindowScript script([&c](WindowScript& steps) {
      HWND dialog = steps.WaitFor("Audio Settings");
      if (dialog == nullptr) return;
      c.cancel(steps, dialog);
      steps.WaitUntilGone(dialog);
    });
    frame->ShowAudioSettings();
    EXPECT_EQ(Failures(), script.Finish()) << c.name;
    EXPECT_FALSE(log.Contains("=> ConfigureAudioDriver")) << c.name << "\n" << log.Text();
    EXPECT_EQ(before, SavedConfiguration()) << c.name;
  }

  Testing::LogCapture log;
  WindowScript script([](WindowScript& steps) {
    HWND dialog = steps.WaitFor("Audio Settings");
    if (dialog == nullptr) return;
    WindowScript::PressButton(dialog, wxID_OK);
    steps.WaitUntilGone(dialog);
  });
  frame->ShowAudioSettings();
  EXPECT_EQ(Failures(), script.Finish());
  EXPECT_TRUE(log.Contains("=> ConfigureAudioDriver\n")) << log.Text();
}

// The folder of a chosen plug-in is stored, and the next file dialog opens there, also after the
// program has saved its settings and started again: a bare file name is found in that folder.
TEST_F(PluginWindowTest, AChosenPluginsFolderIsWhereTheNextFileDialogOpens) {
  const std::string chosen = InstrumentCopies("ui_chosen", {"first.dll", "second.dll"});
  {
    Testing::LogCapture log;
    WindowScript script([&](WindowScript& steps) { ChooseInFileDialog(steps, chosen + "first.dll"); });
    frame->AskForPlugin();
    EXPECT_EQ(Failures(), script.Finish());
    EXPECT_TRUE(log.Contains("=> CreateNewPlugin [" + chosen + "first.dll]")) << log.Text();
    EXPECT_EQ(chosen.substr(0, chosen.size() - 1), configuration->GetString(defaultPathKey, ""));
  }
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return frame->IsEditorShown(); }));

  // A restart: the settings saved, the frame and its core gone, new ones built on the saved file.
  frame->Close(true);
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return !FrameAlive(); }));
  configuration->GetDocument()->Save(folder + "Quillam.cfg");
  configuration = std::make_unique<Common::Config::Configuration>(folder + "Quillam.cfg");
  frame = new PluginWindow(configuration.get(), nullptr, "Quillam");
  logic = new Logic(frame->GetHWND(), configuration.get(), "Ombix Labs", "Quillam", 900);
  frame->ConnectLogic(logic);

  Testing::LogCapture log;
  WindowScript script([](WindowScript& steps) { ChooseInFileDialog(steps, "second.dll"); });
  frame->AskForPlugin();
  EXPECT_EQ(Failures(), script.Finish());
  EXPECT_TRUE(log.Contains("=> CreateNewPlugin [" + chosen + "second.dll]")) << log.Text();
  EXPECT_TRUE(Testing::PumpEventsUntil([this] { return frame->IsEditorShown(); }));
}

// Open with the name of a file that is not there: the dialog says so and stays; cancelled, it
// leads to the exit question. Nothing is loaded and no folder is stored.
TEST_F(PluginWindowTest, TheFileDialogTakesOnlyFilesThatExist) {
  const std::string chosen = InstrumentCopies("ui_absent", {});
  Testing::LogCapture log;
  answer = wxYES;
  WindowScript script([&](WindowScript& steps) {
    HWND dialog = steps.WaitFor(fileDialogTitle);
    if (dialog == nullptr) return;
    WindowScript::TypeFileName(dialog, chosen + "absent.dll");
    WindowScript::PressButton(dialog, IDOK);
    // The dialog's own message about the missing file, answered.
    if (HWND message = steps.OwnedWindow(dialog, 5000)) {
      WindowScript::PressButton(message, IDOK);
      steps.WaitUntilGone(message);
    }
    if (!IsWindow(dialog) || !IsWindowVisible(dialog)) {
      steps.Fail("the dialog ended with a file that does not exist");
      return;
    }
    WindowScript::PressButton(dialog, IDCANCEL);
    steps.WaitUntilGone(dialog);
  });
  frame->AskForPlugin();
  EXPECT_EQ(Failures(), script.Finish());
  EXPECT_FALSE(log.Contains("CreateNewPlugin")) << log.Text();
  EXPECT_EQ("", configuration->GetString(defaultPathKey, ""));
  ASSERT_EQ(2u, questions.size());
  EXPECT_EQ("No plugin loaded. Exit program?", questions[1]);
  EXPECT_TRUE(Testing::PumpEventsUntil([this] { return !FrameAlive(); }));
}

// No to "Exit program?" after a plug-in failed to load: the file dialog comes, and the plug-in
// chosen there loads.
TEST_F(PluginWindowTest, NoAfterAFailedLoadOffersTheFileDialog) {
  const std::string notAPlugin = folder + "broken.dll";
  std::ofstream(notAPlugin) << "not a library";
  const std::string chosen = InstrumentCopies("ui_after_failure", {"instrument.dll"});
  answer = wxNO;
  Testing::LogCapture log;
  WindowScript script([&](WindowScript& steps) { ChooseInFileDialog(steps, chosen + "instrument.dll"); });
  logic->CreatePlugin(notAPlugin);
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return frame->IsEditorShown(); }));
  EXPECT_EQ(Failures(), script.Finish());
  ASSERT_EQ(2u, questions.size());
  EXPECT_EQ("Plugin " + notAPlugin + " could not be loaded! Exit program?", questions[1]);
  EXPECT_TRUE(log.Contains("=> CreateNewPlugin [" + chosen + "instrument.dll]")) << log.Text();
  EXPECT_TRUE(FrameAlive());
}

}  // namespace
}  // namespace Ombix::Kelvane
