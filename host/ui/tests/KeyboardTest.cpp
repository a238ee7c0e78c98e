#include "host/ui/KeyboardGeometry.h"
#include "host/ui/KeyboardModel.h"
#include "host/ui/KeyboardPanel.h"
#include "host/ui/tests/WxTestEnvironment.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <cmath>
#include <utility>
#include <vector>

namespace Ombix::Kelvane {
namespace {

const KeySizes shippedSizes{19, 95, 12, 62};

struct PointCase {
  int x;
  int y;
  int scroll;
  int note;
};

TEST(KeyboardGeometry, FindsTheNoteUnderAPoint) {
  const PointCase cases[] = {
      // Near the boundary of notes 60 and 62 (x = 684): the black key above, white keys below.
      {682, 10, 0, 61},
      {686, 10, 0, 61},
      {682, 80, 0, 60},
      {686, 80, 0, 62},
      {675, 10, 0, 60},
      // The lowest key has a black key only at its upper right.
      {2, 10, 0, 0},
      {15, 10, 0, 1},
      {15, 70, 0, 0},
      // The last key, note 127, has no black key to its right; nothing right of it.
      {1420, 10, 0, 127},
      {1424, 94, 0, 127},
      {1425, 10, 0, NoNote},
      // Above and below the strip.
      {100, -1, 0, NoNote},
      {100, 96, 0, NoNote},
      {100, 95, 0, 9},
      // Scrolled: two octaves up, the left edge shows note 24.
      {0, 80, 266, 24},
      {20, 80, 266, 26},
      // Scrolled left of the first key (a window wider than the keys): nothing.
      {5, 80, -10, NoNote},
      {12, 80, -10, 0},
  };
  for (const PointCase& c : cases) {
    EXPECT_EQ(c.note, NoteAtPoint(c.x, c.y, c.scroll, shippedSizes))
        << "at (" << c.x << ", " << c.y << ") scrolled " << c.scroll;
  }
}

TEST(KeyboardGeometry, PlacesTheKeys) {
  EXPECT_EQ(0, KeyLeft(0, 0, shippedSizes));
  EXPECT_EQ(13, KeyLeft(1, 0, shippedSizes));
  EXPECT_EQ(665, KeyLeft(60, 0, shippedSizes));
  EXPECT_EQ(678, KeyLeft(61, 0, shippedSizes));
  EXPECT_EQ(1406, KeyLeft(127, 0, shippedSizes));
  EXPECT_EQ(665 - 266, KeyLeft(60, 266, shippedSizes));
}

// A keyboard in a shown frame, with every note it reports.
class KeyboardPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "keyboard", wxDefaultPosition, wxSize(900, 200));
    keyboard = new KeyboardPanel(frame);
    keyboard->SetSize(0, 0, 760, 95);
    keyboard->noteSignal.connect([this](unsigned char note, bool on) { notes.emplace_back(note, on); });
    frame->Show();
    // The view starts two octaves up and eases there.
    ASSERT_TRUE(Testing::PumpEventsUntil([this] { return ScrollSettled(); }))
        << keyboard->ScrollPosition() << " " << keyboard->ScrollTarget();
    ASSERT_FLOAT_EQ(266.0f, keyboard->ScrollTarget());
  }
  void TearDown() override {
    frame->Destroy();
    Testing::PumpEventsFor(50);
  }

  void Mouse(wxEventType type, int x, int y, bool leftDown) {
    wxMouseEvent event(type);
    event.m_x = x;
    event.m_y = y;
    event.m_leftDown = leftDown;
    event.SetEventObject(keyboard);
    keyboard->GetEventHandler()->ProcessEvent(event);
  }
  bool ScrollSettled() const {
    return std::fabs(keyboard->ScrollPosition() - keyboard->ScrollTarget()) < 0.1f;
  }
  // A point on the lower, white-only part of a white key.
  int WhiteX(int note) { return keyboard->KeyLeftEdge(note) + 9; }

  wxFrame* frame = nullptr;
  KeyboardPanel* keyboard = nullptr;
  std::vector<std::pair<int, bool>> notes;
};

TEST_F(KeyboardPanelTest, LeftDragGlidesFromNoteToNote) {
  Mouse(wxEVT_LEFT_DOWN, WhiteX(60), 80, true);
  Mouse(wxEVT_MOTION, WhiteX(60) + 3, 80, true);  // same key: nothing new
  Mouse(wxEVT_MOTION, WhiteX(62), 80, true);
  Mouse(wxEVT_MOTION, WhiteX(64), 80, true);
  Mouse(wxEVT_LEFT_UP, WhiteX(64), 80, false);
  const std::vector<std::pair<int, bool>> expected = {{60, true},  {60, false}, {62, true},
                                                      {62, false}, {64, true},  {64, false}};
  EXPECT_EQ(expected, notes);
  for (int n = 0; n < NoteCount; ++n) {
    EXPECT_EQ(0, keyboard->GetModel()->notes[n]) << n;
  }
}

TEST_F(KeyboardPanelTest, MotionWithoutTheButtonPlaysNothing) {
  Mouse(wxEVT_MOTION, WhiteX(60), 80, false);
  Mouse(wxEVT_MOTION, WhiteX(62), 80, false);
  EXPECT_TRUE(notes.empty());
}

TEST_F(KeyboardPanelTest, DraggingOffTheKeysReleasesTheNote) {
  Mouse(wxEVT_LEFT_DOWN, WhiteX(48), 80, true);
  Mouse(wxEVT_MOTION, WhiteX(48), 120, true);
  Mouse(wxEVT_LEFT_UP, WhiteX(48), 120, false);
  const std::vector<std::pair<int, bool>> expected = {{48, true}, {48, false}};
  EXPECT_EQ(expected, notes);
}

TEST_F(KeyboardPanelTest, LeavingTheWindowReleasesTheNote) {
  Mouse(wxEVT_LEFT_DOWN, WhiteX(50), 80, true);
  Mouse(wxEVT_LEAVE_WINDOW, 900, 80, true);
  Mouse(wxEVT_LEFT_UP, 900, 80, false);
  const std::vector<std::pair<int, bool>> expected = {{50, true}, {50, false}};
  EXPECT_EQ(expected, notes);
}

TEST_F(KeyboardPanelTest, RightClickLatchesAndTheLeftReleaseEndsIt) {
  Mouse(wxEVT_RIGHT_DOWN, WhiteX(55), 80, false);
  EXPECT_EQ(1, keyboard->GetModel()->notes[55]);
  Mouse(wxEVT_LEFT_DOWN, WhiteX(55), 80, true);  // already down: no second note-on
  Mouse(wxEVT_LEFT_UP, WhiteX(55), 80, false);
  Mouse(wxEVT_RIGHT_DOWN, WhiteX(57), 80, false);
  Mouse(wxEVT_RIGHT_DOWN, WhiteX(57), 80, false);
  const std::vector<std::pair<int, bool>> expected = {{55, true}, {55, false}, {57, true}, {57, false}};
  EXPECT_EQ(expected, notes);
}

TEST_F(KeyboardPanelTest, ClicksBesideTheKeysPlayNothing) {
  Mouse(wxEVT_LEFT_DOWN, WhiteX(60), 200, true);
  Mouse(wxEVT_LEFT_UP, WhiteX(60), 200, false);
  Mouse(wxEVT_RIGHT_DOWN, WhiteX(60), -3, false);
  EXPECT_TRUE(notes.empty());
}

TEST_F(KeyboardPanelTest, EchoGuardKeepsNotesFromBeingReported) {
  KeyboardModel* model = keyboard->GetModel();
  keyboard->echoGuard = true;
  model->notes[70] = 1;
  model->noteChanged(70);
  keyboard->echoGuard = false;
  EXPECT_TRUE(notes.empty());
  model->notes[70] = 0;
  model->noteChanged(70);
  const std::vector<std::pair<int, bool>> expected = {{70, false}};
  EXPECT_EQ(expected, notes);
}

TEST_F(KeyboardPanelTest, OneWheelNotchScrollsSevenWhiteKeys) {
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelRotation = -120;  // towards the user: higher notes
  wheel.m_wheelDelta = 120;
  keyboard->GetEventHandler()->ProcessEvent(wheel);
  EXPECT_FLOAT_EQ(266.0f + 133.0f, keyboard->ScrollTarget());
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return ScrollSettled(); }));
  EXPECT_NEAR(KeyLeft(36, 399, shippedSizes), keyboard->KeyLeftEdge(36), 1);

  for (int i = 0; i < 20; ++i) {
    keyboard->GetEventHandler()->ProcessEvent(wheel);
  }
  EXPECT_FLOAT_EQ(75.0f * 19 - keyboard->GetSize().x, keyboard->ScrollTarget());
  wheel.m_wheelRotation = 120;
  for (int i = 0; i < 20; ++i) {
    keyboard->GetEventHandler()->ProcessEvent(wheel);
  }
  EXPECT_FLOAT_EQ(0.0f, keyboard->ScrollTarget());
}

TEST_F(KeyboardPanelTest, KeysTravelOnToTheParent) {
  int keysSeen = 0;
  frame->Bind(wxEVT_KEY_DOWN, [&](wxKeyEvent&) { ++keysSeen; });
  wxKeyEvent key(wxEVT_KEY_DOWN);
  key.m_keyCode = 'A';
  key.SetEventObject(keyboard);
  keyboard->GetEventHandler()->ProcessEvent(key);
  EXPECT_EQ(1, keysSeen);
}

TEST_F(KeyboardPanelTest, MinimumSizeIsEightWhiteKeysByOneKeyHigh) {
  EXPECT_EQ(wxSize(152, 95), keyboard->GetMinSize());
}

}  // namespace
}  // namespace Ombix::Kelvane
