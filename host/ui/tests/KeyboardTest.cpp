#include "host/ui/EmbeddedImages.h"
#include "host/ui/KeyboardGeometry.h"
#include "host/ui/KeyboardModel.h"
#include "host/ui/KeyboardPanel.h"
#include "host/ui/tests/WxTestEnvironment.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <algorithm>
#include <cmath>
#include <set>
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

// A keyboard that is never shown is never painted: its scroll ends at the target at once and its
// timer stops, instead of waking the program 50 times a second for nothing.
TEST(KeyboardView, AHiddenKeyboardStopsScrollingAtItsTarget) {
  auto* hidden = new wxFrame(nullptr, wxID_ANY, "hidden");
  auto* keyboard = new KeyboardPanel(hidden);
  keyboard->SetSize(0, 0, 760, 95);
  EXPECT_TRUE(keyboard->IsScrolling());
  EXPECT_TRUE(Testing::PumpEventsUntil([keyboard] { return !keyboard->IsScrolling(); }, 1000));
  EXPECT_FLOAT_EQ(266.0f, keyboard->ScrollPosition());
  hidden->Destroy();
  Testing::PumpEventsFor(50);
}

TEST_F(KeyboardPanelTest, MinimumSizeIsEightWhiteKeysByOneKeyHigh) {
  EXPECT_EQ(wxSize(152, 95), keyboard->GetMinSize());
}

wxImage KeyImage(const EmbeddedImage& bytes) {
  wxMemoryInputStream stream(bytes.data, bytes.size);
  return wxImage(stream, wxBITMAP_TYPE_BMP);
}

bool SamePixel(const wxImage& a, int ax, int ay, const wxImage& b, int bx, int by) {
  return a.GetRed(ax, ay) == b.GetRed(bx, by) && a.GetGreen(ax, ay) == b.GetGreen(bx, by) &&
         a.GetBlue(ax, ay) == b.GetBlue(bx, by);
}

bool IsBlack(const wxImage& image, int x, int y) {
  return image.GetRed(x, y) == 0 && image.GetGreen(x, y) == 0 && image.GetBlue(x, y) == 0;
}

// A keyboard in a frame without decorations at the screen's left edge, so that what it paints can
// be read back; every key state is set through the model, as the panel and the frame set them.
class KeyboardPaintTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "keyboard", wxPoint(0, 0), wxSize(760, 95), wxBORDER_NONE);
    keyboard = new KeyboardPanel(frame);
    frame->Show();
    Resize(760);
    ASSERT_TRUE(Testing::PumpEventsUntil([this] { return Settled(); }));
    white = KeyImage(WhiteKeysBmp());
    black = KeyImage(BlackKeysBmp());
  }
  void TearDown() override {
    frame->Destroy();
    Testing::PumpEventsFor(50);
  }

  bool Settled() const { return std::fabs(keyboard->ScrollPosition() - keyboard->ScrollTarget()) < 0.1f; }
  // The frame and the keyboard, its only child, as wide as given and one key high.
  void Resize(int width) {
    frame->SetSize(0, 0, width, shippedSizes.whiteHeight);
    keyboard->SetSize(0, 0, width, shippedSizes.whiteHeight);
    Testing::PumpEventsFor(20);
    ASSERT_EQ(wxSize(width, shippedSizes.whiteHeight), keyboard->GetSize());
  }
  void SetNote(int note, bool down) {
    keyboard->GetModel()->notes[note] = down ? 1 : 0;
    keyboard->GetModel()->noteChanged(static_cast<unsigned char>(note));
  }
  bool UnderABlackKey(int x, int y) const {
    if (y >= shippedSizes.blackHeight) return false;
    for (int note = 0; note < NoteCount; ++note) {
      const int left = keyboard->KeyLeftEdge(note);
      if (IsBlackKey(note % 12) && x >= left && x < left + shippedSizes.blackWidth) return true;
    }
    return false;
  }
  // The points of a white key, outside the black keys over it, where the screen differs from the
  // cell (column, row) of the white-key image.
  std::vector<wxPoint> WhiteKeyDifferences(const wxImage& screen, int note, int column, int row) const {
    std::vector<wxPoint> differences;
    const int left = keyboard->KeyLeftEdge(note);
    for (int x = 0; x < shippedSizes.whiteWidth; ++x) {
      for (int y = 0; y < shippedSizes.whiteHeight; ++y) {
        if (UnderABlackKey(left + x, y)) continue;
        if (!SamePixel(screen, left + x, y, white, column * shippedSizes.whiteWidth + x,
                       row * shippedSizes.whiteHeight + y)) {
          differences.emplace_back(x, y);
        }
      }
    }
    return differences;
  }
  int BlackKeyDifferences(const wxImage& screen, int note, int row) const {
    int differences = 0;
    const int left = keyboard->KeyLeftEdge(note);
    for (int x = 0; x < shippedSizes.blackWidth; ++x) {
      for (int y = 0; y < shippedSizes.blackHeight; ++y) {
        if (!SamePixel(screen, left + x, y, black, x, row * shippedSizes.blackHeight + y)) ++differences;
      }
    }
    return differences;
  }
  // The lowest row of the label drawn on a key of pitch class 0.
  int LabelBottom(const wxImage& screen, int note, int row) const {
    int bottom = -1;
    for (const wxPoint& p : WhiteKeyDifferences(screen, note, 0, row)) bottom = std::max(bottom, p.y);
    return bottom;
  }

  wxFrame* frame = nullptr;
  KeyboardPanel* keyboard = nullptr;
  wxImage white;
  wxImage black;
};

struct RowCase {
  std::set<int> down;
  int note;
  int column;
  int row;
};

TEST_F(KeyboardPaintTest, EachKeyShowsTheImageCellOfItsStateAndItsNeighbours) {
  const RowCase cases[] = {
      {{}, 62, 1, 0},       {{62}, 62, 1, 1}, {{60, 62}, 62, 1, 2}, {{62, 64}, 64, 2, 2},
      {{64}, 64, 2, 1},     {{65}, 65, 0, 1}, {{64, 65}, 65, 0, 2}, {{}, 67, 1, 0},
      {{67, 69}, 69, 1, 2}, {{71}, 71, 2, 1}, {{}, 59, 2, 0},       {{57, 59}, 59, 2, 2},
  };
  for (const RowCase& c : cases) {
    for (int note = 0; note < NoteCount; ++note) SetNote(note, c.down.count(note) != 0);
    const wxImage screen = Testing::Screen(keyboard);
    EXPECT_TRUE(WhiteKeyDifferences(screen, c.note, c.column, c.row).empty())
        << "note " << c.note << " column " << c.column << " row " << c.row;
  }
  for (const int row : {0, 1}) {
    SetNote(61, row == 1);
    SetNote(63, row == 1);
    const wxImage screen = Testing::Screen(keyboard);
    EXPECT_EQ(0, BlackKeyDifferences(screen, 61, row)) << row;
    EXPECT_EQ(0, BlackKeyDifferences(screen, 63, row)) << row;
  }
}

TEST_F(KeyboardPaintTest, KeysOfPitchClassZeroCarryALabelThatMovesWithTheKey) {
  for (int note = 0; note < NoteCount; ++note) SetNote(note, false);
  const wxImage up = Testing::Screen(keyboard);
  // Two octaves up the view starts at note 24: its labels show on notes 24, 36, 48 and 60 ...
  for (const int note : {24, 36, 48, 60, 72}) {
    const std::vector<wxPoint> label = WhiteKeyDifferences(up, note, 0, 0);
    ASSERT_FALSE(label.empty()) << note;
    for (const wxPoint& p : label) {
      EXPECT_GE(p.x, 2) << note;
      EXPECT_LE(p.x, 3 + 11 + 4) << note;
    }
    // It reads upwards from 5 pixels above the key's lower end.
    EXPECT_LE(LabelBottom(up, note, 0), shippedSizes.whiteHeight - 5) << note;
    EXPECT_GE(LabelBottom(up, note, 0), shippedSizes.whiteHeight - 5 - 4) << note;
  }
  // ... and on no other key.
  for (const int note : {26, 28, 29, 31, 33, 35}) {
    EXPECT_TRUE(WhiteKeyDifferences(up, note, WhiteImageColumn(note % 12), 0).empty()) << note;
  }
  // Labels differ by their octave number.
  EXPECT_NE(WhiteKeyDifferences(up, 36, 0, 0), WhiteKeyDifferences(up, 48, 0, 0));
  // A held key's label sits 2 pixels lower.
  SetNote(48, true);
  const wxImage held = Testing::Screen(keyboard);
  EXPECT_EQ(LabelBottom(up, 48, 0) + 2, LabelBottom(held, 48, 1));
}

TEST_F(KeyboardPaintTest, StripsBesideTheKeysAreFilled) {
  // Widened, the view still shows the keys where they were until it scrolls: right of the last
  // key lies a strip.
  frame->SetSize(0, 0, 1500, shippedSizes.whiteHeight);
  keyboard->SetSize(0, 0, 1500, shippedSizes.whiteHeight);
  const wxImage wide = Testing::Screen(keyboard);
  const int endOfKeys = keyboard->KeyLeftEdge(NoteCount - 1) + shippedSizes.whiteWidth;
  const int visible = std::min(wide.GetWidth(), wxGetDisplaySize().x);
  ASSERT_LT(endOfKeys, visible - 10);
  for (int x = endOfKeys; x < visible; ++x) {
    for (int y = 0; y < shippedSizes.whiteHeight; y += 7) {
      ASSERT_TRUE(IsBlack(wide, x, y)) << x << " " << y;
    }
  }
  // Then it settles with all 128 keys shown and a strip left of the first key.
  ASSERT_TRUE(Testing::PumpEventsUntil([this] { return Settled(); }));
  EXPECT_FLOAT_EQ(75.0f * 19 - 1500, keyboard->ScrollTarget());
  const wxImage settled = Testing::Screen(keyboard);
  const int startOfKeys = keyboard->KeyLeftEdge(0);
  ASSERT_NEAR(75, startOfKeys, 1);
  for (int x = 0; x < startOfKeys; ++x) {
    for (int y = 0; y < shippedSizes.whiteHeight; ++y) {
      ASSERT_TRUE(IsBlack(settled, x, y)) << x << " " << y;
    }
  }
  EXPECT_TRUE(WhiteKeyDifferences(settled, 2, 1, 0).empty());
}

}  // namespace
}  // namespace Ombix::Kelvane
