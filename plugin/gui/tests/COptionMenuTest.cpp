#include "plugin/gui/COptionMenu.h"
#include "plugin/gui/COptionMenuScheme.h"
#include "plugin/gui/tests/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace ControlTests;
using Gui::COptionMenu;

namespace {

class OptionMenuTest : public ControlFixture {
 protected:
  COptionMenu* makeMenu(long style = 0) {
    return add(new COptionMenu(CRect(10, 10, 110, 30), &listener, 11, nullptr, nullptr, style));
  }
  static std::string entry(const COptionMenu& menu, long index) {
    char text[256] = "";
    menu.getEntry(index, text);
    return text;
  }
  // Opens the pop-up with a click; the keys are queued first, so the menu's own loop reads them.
  void clickAndChoose(COptionMenu& menu, std::initializer_list<WPARAM> keys) {
    HWND window = frame->getWindowHandle();
    for (WPARAM key : keys) {
      PostMessageA(window, WM_KEYDOWN, key, 0);
      PostMessageA(window, WM_KEYUP, key, 0);
    }
    CPoint where(20, 20);
    menu.mouse(windowContext(), where, Gui::kLButton);
  }
};

TEST_F(OptionMenuTest, EntriesAreAddedInsertedAndRemoved) {
  auto* menu = makeMenu();
  EXPECT_EQ(-1, menu->getCurrent());
  EXPECT_TRUE(menu->addEntry("one"));
  EXPECT_EQ(0, menu->getCurrent());
  EXPECT_TRUE(menu->addEntry("two"));
  EXPECT_TRUE(menu->setCurrent(1));
  EXPECT_TRUE(menu->addEntry("zero", 0));
  EXPECT_EQ(2, menu->getCurrent());  // inserting before the current entry moves it up
  EXPECT_EQ("zero", entry(*menu, 0));
  EXPECT_EQ("two", entry(*menu, 2));
  EXPECT_EQ(1, menu->getIndex("one"));
  EXPECT_EQ(-1, menu->getIndex("three"));
  EXPECT_EQ(-1, menu->getIndex(nullptr));
  EXPECT_TRUE(menu->removeEntry(0));
  EXPECT_EQ(1, menu->getCurrent());
  EXPECT_FALSE(menu->removeEntry(5));
  EXPECT_FALSE(menu->getEntry(2, nullptr));
  EXPECT_TRUE(menu->setEntry(1, "deux"));
  EXPECT_EQ("deux", entry(*menu, 1));
  EXPECT_TRUE(menu->removeAllEntry());
  EXPECT_EQ(0, menu->getNbEntries());
  EXPECT_EQ(-1, menu->getCurrent());
}

TEST_F(OptionMenuTest, AtMost1024Entries) {
  auto* menu = makeMenu();
  for (int i = 0; i < 1024; ++i) ASSERT_TRUE(menu->addEntry("x"));
  EXPECT_FALSE(menu->addEntry("y"));
  EXPECT_FALSE(menu->addEntry(makeMenu(), "sub"));
  EXPECT_EQ(1024, menu->getNbEntries());
}

TEST_F(OptionMenuTest, NumberingPrefixesAreStoredButNotShown) {
  auto* menu = makeMenu();
  menu->setPrefixNumbers(3);
  menu->addEntry("alpha");
  menu->addEntry("beta");
  menu->addEntry("gamma");
  EXPECT_EQ("03 gamma", entry(*menu, 2));
  menu->setPrefixNumbers(2);
  menu->addEntry("delta");
  EXPECT_EQ("4 delta", entry(*menu, 3));
}

TEST_F(OptionMenuTest, SeparatorsAndTitlesInCurrentIndexes) {
  auto* menu = makeMenu();
  for (const char* text : {"-Tfilters", "low", "-", "high", "band"}) menu->addEntry(text);
  struct Case {
    long index;
    bool countSeparators;
    bool accepted;
    long current;
  };
  const Case cases[] = {
      {2, true, false, -2},                       // a separator cannot be current
      {3, true, true, 3},   {0, false, true, 1},  // the first entry that is neither separator nor title
      {1, false, true, 3},  {2, false, true, 4}, {9, false, false, -2},
  };
  menu->setCurrent(4);
  for (const auto& c : cases) {
    const long before = menu->getCurrent();
    EXPECT_EQ(c.accepted, menu->setCurrent(c.index, c.countSeparators)) << c.index;
    EXPECT_EQ(c.accepted ? c.current : before, menu->getCurrent()) << c.index;
  }
  menu->setCurrent(4);
  char text[256];
  EXPECT_EQ(2, menu->getCurrent(text, false));
  EXPECT_STREQ("band", text);
}

TEST_F(OptionMenuTest, SetValueSelectsAnEntryWithinRange) {
  auto* menu = makeMenu();
  menu->addEntry("a");
  menu->addEntry("b");
  menu->setValue(1.9f);
  EXPECT_EQ(1, menu->getCurrent());
  EXPECT_EQ(1.9f, menu->getValue());
  menu->setValue(2.f);
  menu->setValue(-1.f);
  EXPECT_EQ(1, menu->getCurrent());
  EXPECT_EQ(1.9f, menu->getValue());
}

TEST_F(OptionMenuTest, CheckFlags) {
  auto* menu = makeMenu(Gui::kMultipleCheckStyle);
  for (const char* text : {"a", "b", "c"}) menu->addEntry(text);
  EXPECT_TRUE(menu->checkEntry(0, true));
  EXPECT_TRUE(menu->checkEntryAlone(2));
  EXPECT_FALSE(menu->isCheckEntry(0));
  EXPECT_TRUE(menu->isCheckEntry(2));
  EXPECT_FALSE(menu->checkEntry(3, true));
  menu->setValue(1.f);  // multiple check: choosing toggles
  EXPECT_TRUE(menu->isCheckEntry(1));
  menu->setValue(1.f);
  EXPECT_FALSE(menu->isCheckEntry(1));
}

TEST_F(OptionMenuTest, ChoosingFromThePopupSetsTheValueAndTellsTheListener) {
  auto* menu = makeMenu();
  for (const char* text : {"sine", "-", "saw", "-Gpulse", "noise"}) menu->addEntry(text);
  // Down twice from nothing selected: "sine", then "saw" (separators are skipped), Return.
  clickAndChoose(*menu, {VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_EQ(2, menu->getLastResult());
  EXPECT_EQ(2, menu->getCurrent());
  EXPECT_EQ(2.f, menu->getValue());
  ASSERT_EQ(1u, listener.notifications.size());
  EXPECT_EQ(menu, listener.notifications[0].control);
  EXPECT_EQ((std::vector<long>{11, -1011}), editor->gestures);
  EXPECT_EQ(nullptr, frame->getFocusView());
  long index = -1;
  EXPECT_EQ(menu, menu->getLastItemMenu(index));
  EXPECT_EQ(2, index);
}

TEST_F(OptionMenuTest, OwnerDrawnPopupAsksTheSchemeForItsItems) {
  struct CountingScheme : Gui::COptionMenuScheme {
    void getItemSize(const char* text, Gui::CDrawContext* context, CPoint& size) override {
      measured.push_back(text);
      COptionMenuScheme::getItemSize(text, context, size);
    }
    std::vector<std::string> measured;
  };
  CountingScheme scheme;
  auto* menu = makeMenu();
  menu->setScheme(&scheme);
  for (const char* text : {"low", "-", "-Thigh"}) menu->addEntry(text);
  clickAndChoose(*menu, {VK_DOWN, VK_RETURN});
  EXPECT_EQ(0, menu->getLastResult());
  EXPECT_EQ((std::vector<std::string>{"low", "-", "high"}), scheme.measured);
  EXPECT_EQ(1u, listener.notifications.size());
}

TEST_F(OptionMenuTest, DismissingThePopupChangesNothing) {
  auto* menu = makeMenu();
  menu->addEntry("a");
  menu->addEntry("b");
  clickAndChoose(*menu, {VK_ESCAPE});
  EXPECT_EQ(-1, menu->getLastResult());
  EXPECT_EQ(0, menu->getCurrent());
  EXPECT_TRUE(listener.notifications.empty());
  EXPECT_EQ((std::vector<long>{11, -1011}), editor->gestures);
}

TEST_F(OptionMenuTest, AChoiceInASubMenuGoesToTheSubMenu) {
  auto* menu = makeMenu();
  auto* sub = new COptionMenu(CRect(0, 0, 1, 1), nullptr, 0);
  sub->addEntry("inner one");
  sub->addEntry("inner two");
  menu->addEntry("outer");
  menu->addEntry(sub, "more");
  sub->forget();
  EXPECT_EQ("-Mmore", entry(*menu, 1));
  // Down to "more", Right opens it on "inner one", Down, Return.
  clickAndChoose(*menu, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
  EXPECT_EQ(3, menu->getLastResult());  // ids of the sub-menu follow the two outer entries
  ASSERT_EQ(1u, listener.notifications.size());
  EXPECT_EQ(sub, listener.notifications[0].control);
  EXPECT_EQ(1.f, sub->getValue());
  EXPECT_EQ(0, menu->getCurrent());
  long index = -1;
  EXPECT_EQ(sub, menu->getLastItemMenu(index));
  EXPECT_EQ(1, index);
}

// A "-M" text added as a plain entry has no sub-menu: it shows greyed and keeps its id, so every later
// entry keeps the id of its index and each sub-menu stays with the entry it was added with.
TEST_F(OptionMenuTest, SubMenuTextWithoutASubMenuShiftsNoIds) {
  struct Probe : COptionMenu {
    using COptionMenu::appendItems;
    using COptionMenu::COptionMenu;
    using COptionMenu::getItemMenu;
    using COptionMenu::removeItems;
  };
  Probe menu(CRect(0, 0, 10, 10), nullptr, 0);
  auto* sub = new COptionMenu(CRect(0, 0, 1, 1), nullptr, 0);
  sub->addEntry("inner one");
  sub->addEntry("inner two");
  menu.addEntry("first");
  menu.addEntry("-Mlost");
  menu.addEntry(sub, "more");
  menu.addEntry("last");
  sub->forget();

  long offset = 0;
  HMENU popup = menu.appendItems(offset);
  ASSERT_EQ(4, GetMenuItemCount(popup));
  EXPECT_EQ(0u, GetMenuItemID(popup, 0));
  EXPECT_EQ(1u, GetMenuItemID(popup, 1));
  EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_GRAYED);
  char text[32] = "";
  GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("lost", text);
  HMENU inner = GetSubMenu(popup, 2);
  ASSERT_NE(nullptr, inner);
  EXPECT_EQ(2, GetMenuItemCount(inner));
  EXPECT_EQ(4u, GetMenuItemID(inner, 0));  // the sub-menu's ids follow the four outer entries
  EXPECT_EQ(3u, GetMenuItemID(popup, 3));
  menu.removeItems();

  long index = -1;
  long firstId = 0;
  EXPECT_EQ(sub, menu.getItemMenu(5, index, firstId));
  EXPECT_EQ(1, index);
}

TEST_F(OptionMenuTest, PopupColumnsAndChecks) {
  // Counts the columns of a pop-up as Windows builds it.
  struct Probe : COptionMenu {
    using COptionMenu::COptionMenu;
    std::vector<UINT> states() {
      long offset = 0;
      HMENU popup = appendItems(offset);
      std::vector<UINT> result;
      for (int i = 0; i < GetMenuItemCount(popup); ++i)
        result.push_back(GetMenuState(popup, i, MF_BYPOSITION));
      removeItems();
      return result;
    }
  };
  struct Case {
    long entries;
    long perColumn;
    std::vector<long> breaks;
  };
  const Case cases[] = {{70, 32, {32, 64}}, {160, 32, {}}, {10, -1, {}}};
  for (const auto& c : cases) {
    Probe menu(CRect(0, 0, 10, 10), nullptr, 0);
    for (long i = 0; i < c.entries; ++i) menu.addEntry(i == 5 ? "-" : "x");
    menu.setNbItemsPerColumn(c.perColumn);
    const auto states = menu.states();
    std::vector<long> breaks;
    for (size_t i = 0; i < states.size(); ++i) {
      if (states[i] & MF_MENUBARBREAK) breaks.push_back(static_cast<long>(i));
    }
    EXPECT_EQ(c.breaks, breaks) << c.entries;
  }

  Probe checked(CRect(0, 0, 10, 10), nullptr, 0, nullptr, nullptr, Gui::kCheckStyle);
  for (const char* text : {"a", "-Gb", "-Tc", "d"}) checked.addEntry(text);
  checked.setCurrent(3);
  const auto states = checked.states();
  ASSERT_EQ(4u, states.size());
  EXPECT_FALSE(states[0] & MF_CHECKED);
  EXPECT_TRUE(states[1] & MF_GRAYED);
  EXPECT_TRUE(states[2] & MF_DISABLED);
  EXPECT_TRUE(states[3] & MF_CHECKED);
}

TEST_F(OptionMenuTest, SchemeMeasuresItems) {
  Gui::COptionMenuScheme scheme;
  Gui::COffscreenContext context(frame, 10, 10);
  CPoint size;
  scheme.getItemSize("-", &context, size);
  EXPECT_EQ(6, size.h);
  EXPECT_EQ(18, size.v);
  scheme.getItemSize("wide text", &context, size);
  context.setFont(Gui::kNormalFontSmall);
  EXPECT_EQ(18 + context.getStringWidth("wide text"), size.h);
  EXPECT_EQ(18, size.v);
}

TEST_F(OptionMenuTest, SchemeDrawsTheSelectionAndTheCheck) {
  Gui::COptionMenuScheme scheme;
  scheme.setColors(Gui::kBlueCColor, Gui::kRedCColor, Gui::kWhiteCColor, Gui::kGreenCColor, Gui::kGreyCColor);
  Gui::COffscreenContext context(frame, 100, 20);
  scheme.drawItem("item", 0, Gui::COptionMenuScheme::kSelected | Gui::COptionMenuScheme::kChecked, &context,
                  CRect(0, 0, 100, 18));
  EXPECT_EQ(RGB(255, 0, 0), pixelAt(context, 90, 9));  // selection colour behind
  EXPECT_EQ(RGB(0, 255, 0), pixelAt(context, 10, 8));  // the check mark in the highlighted text colour
  scheme.drawItem("item", 0, 0, &context, CRect(0, 0, 100, 18));
  EXPECT_EQ(RGB(0, 0, 255), pixelAt(context, 90, 9));
  EXPECT_EQ(RGB(0, 0, 255), pixelAt(context, 10, 8));
}

TEST_F(OptionMenuTest, ShowsTheCurrentEntry) {
  auto* menu = makeMenu();
  menu->setPrefixNumbers(2);
  menu->addEntry("WW");
  Gui::COffscreenContext shown(frame, 400, 300);
  menu->draw(&shown);
  COptionMenu reference(CRect(10, 10, 110, 30), nullptr, 0);
  reference.addEntry("WW");
  Gui::COffscreenContext expected(frame, 400, 300);
  reference.draw(&expected);
  long differences = 0;
  long ink = 0;
  for (long y = 10; y < 30; ++y) {
    for (long x = 10; x < 110; ++x) {
      if (pixelAt(shown, x, y) != pixelAt(expected, x, y)) ++differences;
      if (pixelAt(shown, x, y) == RGB(255, 255, 255)) ++ink;
    }
  }
  EXPECT_EQ(0, differences);
  EXPECT_GT(ink, 0);
}

}  // namespace
