#include "host/ui/PluginPanel.h"

#include "host/core/IPlugin.h"
#include "host/ui/tests/WxTestEnvironment.h"

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/utils.h>
#include <vector>

// After the toolkit's headers, which include the Windows headers in the order they need.
#include <windows.h>

namespace Ombix::Kelvane {
namespace {

// A plug-in record that keeps what the panel asks of it.
class FakePlugin : public IPlugin {
 public:
  void OpenWindow(void* parent) override { openedIn = parent; }
  void IdleWindow() override { ++idles; }
  void CloseWindow() override {}
  void Dispose() override { ++disposals; }
  void KeyDown(const PluginKeyEvent& key) override { keysDown.push_back(key); }
  void KeyUp(const PluginKeyEvent& key) override { keysUp.push_back(key); }
  void InjectMidi(int, int) override {}
  int GetStatus() override { return active ? 1 : 0; }
  bool IsActive() override { return active; }
  int GetId() override { return 1; }
  std::string GetName() override { return "Fake"; }
  int GetWidth() override { return width; }
  int GetHeight() override { return height; }
  std::vector<PatchInfo> GetPatches() override { return {}; }
  void SetPatch(int) override {}

  void* openedIn = nullptr;
  int idles = 0;
  int disposals = 0;
  bool active = false;
  int width = 320;
  int height = 240;
  std::vector<PluginKeyEvent> keysDown;
  std::vector<PluginKeyEvent> keysUp;
};

class PluginPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "panel");
    panel = new PluginPanel(frame);
    panel->EditorShown.connect([this](bool shown) { shownReports.push_back(shown); });
    frame->Show();
  }
  void TearDown() override {
    frame->Destroy();
    Testing::PumpEventsFor(50);
  }
  void Activate(FakePlugin& plugin) {
    plugin.active = true;
    plugin.Activated(&plugin);
  }
  void Key(wxEventType type, int keyCode, int rawCode, bool shift, bool alt, bool control) {
    wxKeyEvent key(type);
    key.m_keyCode = keyCode;
    key.m_rawCode = rawCode;
    key.m_shiftDown = shift;
    key.m_altDown = alt;
    key.m_controlDown = control;
    panel->GetEventHandler()->ProcessEvent(key);
  }

  wxFrame* frame = nullptr;
  PluginPanel* panel = nullptr;
  std::vector<bool> shownReports;
};

TEST_F(PluginPanelTest, ShowsTheLogoSizeWithoutAPlugin) {
  EXPECT_EQ(wxSize(500, 400), panel->GetContentSize());
  EXPECT_EQ(wxSize(500, 400), panel->GetMaxSize());
  EXPECT_TRUE(panel->AllowsFrameFit());
}

// A panel larger than the logo: what lies beside and below the logo is cleared to the panel's
// background, whatever was on the screen there before; the logo itself is drawn at the top left.
TEST_F(PluginPanelTest, ClearsTheAreaAroundTheLogo) {
  frame->SetClientSize(720, 560);
  panel->SetSize(0, 0, 720, 560);
  {
    wxClientDC stale(panel);
    stale.SetBrush(*wxRED_BRUSH);
    stale.SetPen(*wxRED_PEN);
    stale.DrawRectangle(0, 0, 720, 560);
  }
  const wxImage screen = Testing::Screen(panel);
  ASSERT_EQ(wxSize(720, 560), wxSize(screen.GetWidth(), screen.GetHeight()));
  const wxColour background = panel->GetBackgroundColour();
  for (const wxPoint& p : {wxPoint(500, 390), wxPoint(719, 0), wxPoint(600, 300), wxPoint(0, 400),
                           wxPoint(250, 559), wxPoint(719, 559)}) {
    EXPECT_EQ(wxColour(screen.GetRed(p.x, p.y), screen.GetGreen(p.x, p.y), screen.GetBlue(p.x, p.y)),
              background)
        << p.x << " " << p.y;
  }
  // Inside the logo nothing is red.
  for (const wxPoint& p : {wxPoint(0, 0), wxPoint(250, 170), wxPoint(499, 399)}) {
    EXPECT_FALSE(screen.GetRed(p.x, p.y) == 255 && screen.GetGreen(p.x, p.y) == 0 &&
                 screen.GetBlue(p.x, p.y) == 0)
        << p.x << " " << p.y;
  }
}

TEST_F(PluginPanelTest, OpensTheEditorWhenThePluginActivates) {
  FakePlugin plugin;
  std::string name;
  panel->Name.connect([&](const std::string& n) { name = n; });
  panel->SetPlugin(&plugin);
  Activate(plugin);
  EXPECT_NE(nullptr, plugin.openedIn);
  EXPECT_EQ(std::vector<bool>({true}), shownReports);
  EXPECT_EQ("Fake", name);
  plugin.SizeChanged(&plugin);
  EXPECT_EQ(wxSize(320, 240), panel->GetContentSize());
  // Idle time every 40 ms while the plug-in is current.
  EXPECT_TRUE(Testing::PumpEventsUntil([&] { return plugin.idles >= 3; }));
  plugin.Disposed(&plugin);
  EXPECT_EQ(nullptr, panel->GetPlugin());
  EXPECT_EQ(wxSize(500, 400), panel->GetContentSize());
}

// The editor idles at full pace while the pointer moved over the main window or a note came lately,
// and slowly while all rests, also with the pointer resting over the window.
TEST_F(PluginPanelTest, TheEditorIdlesAtFullPaceOnlyWhileSomethingHappens) {
  const wxRect window = frame->GetScreenRect();
  const wxSize screen = wxGetDisplaySize();
  ASSERT_TRUE(window.GetRight() < screen.x - 20 || window.GetBottom() < screen.y - 20);
  SetCursorPos(screen.x - 10, screen.y - 10);
  FakePlugin plugin;
  panel->SetPlugin(&plugin);
  Activate(plugin);
  EXPECT_EQ(40, panel->IdleInterval());
  // Nothing happens for five seconds: the pace slows down, and the idle calls with it.
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return panel->IdleInterval() == 250; }, 8000));
  const int idles = plugin.idles;
  Testing::PumpEventsFor(1000);
  EXPECT_LE(plugin.idles - idles, 5);
  // A note the plug-in plays brings the full pace back at once.
  plugin.MidiKey(&plugin, 60, true);
  EXPECT_EQ(40, panel->IdleInterval());
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return panel->IdleInterval() == 250; }, 8000));
  // So does the pointer moving over the main window.
  SetCursorPos(window.x + window.width / 2, window.y + window.height / 2);
  EXPECT_TRUE(Testing::PumpEventsUntil([this] { return panel->IdleInterval() == 40; }, 1000));
  // Resting there, it is no sign of work: the pace slows down again.
  EXPECT_TRUE(Testing::PumpEventsUntil([this] { return panel->IdleInterval() == 250; }, 8000));
  plugin.Disposed(&plugin);
}

TEST_F(PluginPanelTest, HandsKeysToThePlugin) {
  FakePlugin plugin;
  Key(wxEVT_KEY_DOWN, 'A', 65, false, false, false);  // no plug-in: dropped
  panel->SetPlugin(&plugin);
  Key(wxEVT_KEY_DOWN, WXK_F1, 0x70, true, true, true);
  Key(wxEVT_KEY_UP, WXK_NUMPAD_ENTER, 0x0D, false, false, false);
  Key(wxEVT_KEY_DOWN, 'A', 65, true, false, false);
  ASSERT_EQ(2u, plugin.keysDown.size());
  EXPECT_EQ(0x70, plugin.keysDown[0].character);
  EXPECT_EQ(1071, plugin.keysDown[0].keyCode);
  EXPECT_EQ(11, plugin.keysDown[0].modifiers);
  EXPECT_EQ(65, plugin.keysDown[1].character);
  EXPECT_EQ(65, plugin.keysDown[1].keyCode);
  EXPECT_EQ(1, plugin.keysDown[1].modifiers);
  ASSERT_EQ(1u, plugin.keysUp.size());
  EXPECT_EQ(1103, plugin.keysUp[0].keyCode);
  EXPECT_EQ(0, plugin.keysUp[0].modifiers);
  plugin.Disposed(&plugin);
}

TEST_F(PluginPanelTest, ASecondPluginDisposesTheFirstAndKeepsItsEditor) {
  FakePlugin first;
  FakePlugin second;
  panel->SetPlugin(&first);
  panel->SetPlugin(&second);
  EXPECT_EQ(1, first.disposals);
  Activate(second);
  second.SizeChanged(&second);
  // The first record's late notice leaves the second's editor alone.
  first.Disposed(&first);
  EXPECT_EQ(&second, panel->GetPlugin());
  EXPECT_EQ(std::vector<bool>({true}), shownReports);
  EXPECT_EQ(wxSize(320, 240), panel->GetContentSize());
  // Signals of a record that is no longer current are ignored.
  first.Activated(&first);
  EXPECT_EQ(nullptr, first.openedIn);
  second.Disposed(&second);
  EXPECT_EQ(std::vector<bool>({true, false}), shownReports);
}

TEST_F(PluginPanelTest, ReportsTheNotesThePluginPlays) {
  FakePlugin plugin;
  std::vector<std::pair<int, bool>> notes;
  panel->Note.connect([&](unsigned char note, bool on) { notes.emplace_back(note, on); });
  panel->SetPlugin(&plugin);
  plugin.MidiKey(&plugin, 60, true);
  plugin.MidiKey(&plugin, 60, false);
  EXPECT_EQ((std::vector<std::pair<int, bool>>{{60, true}, {60, false}}), notes);
  plugin.Disposed(&plugin);
}

}  // namespace
}  // namespace Ombix::Kelvane
