#include "plugin/gui/CParamDisplay.h"
#include "plugin/gui/CTextEdit.h"
#include "plugin/gui/CTextLabel.h"
#include "plugin/gui/tests/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace ControlTests;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class ParamDisplayTest : public ControlFixture {
 protected:
  // Draws a 40 by 20 display into an offscreen of the same size, cleared to blue.
  void render(Gui::CView& view, std::unique_ptr<Gui::COffscreenContext>& context) {
    context = std::make_unique<Gui::COffscreenContext>(frame, 40, 20, Gui::kBlueCColor);
    view.draw(context.get());
  }
};

void percent(float value, char* text) {
  std::snprintf(text, 256, "%d%%", static_cast<int>(value * 100));
}
void withData(float value, char* text, void* data) {
  std::snprintf(text, 256, "%s %.1f", static_cast<const char*>(data), value);
}

// The white pixels of a drawing: two displays that show the same text in the same font and box ink
// the same pixels, which is how the tests compare a display's text with a label of the expected text.
long inkOf(Gui::COffscreenContext& context) {
  long count = 0;
  for (long y = 0; y < 20; ++y) {
    for (long x = 0; x < 40; ++x) {
      if (pixelAt(context, x, y) == kWhite) ++count;
    }
  }
  return count;
}

TEST_F(ParamDisplayTest, ValueTextComesFromTheConvertersOrTwoDecimals) {
  struct Case {
    const char* name;
    float value;
    bool plain;
    bool data;
    const char* text;
  };
  const Case cases[] = {
      {"default", 0.5f, false, false, "0.50"},
      {"default one", 1.f, false, false, "1.00"},
      {"plain converter", 0.25f, true, false, "25%"},
      {"with user data wins", 0.25f, true, true, "gain 0.2"},
  };
  static char label[] = "gain";
  for (const auto& c : cases) {
    Gui::CParamDisplay display(CRect(0, 0, 40, 20));
    display.setValue(c.value);
    if (c.plain) display.setStringConvert(&percent);
    if (c.data) display.setStringConvert(&withData, label);
    std::unique_ptr<Gui::COffscreenContext> shown;
    render(display, shown);
    Gui::CTextLabel reference(CRect(0, 0, 40, 20), c.text);
    std::unique_ptr<Gui::COffscreenContext> expected;
    render(reference, expected);
    EXPECT_GT(inkOf(*expected), 0) << c.name;
    EXPECT_EQ(inkOf(*expected), inkOf(*shown)) << c.name;
  }
}

TEST_F(ParamDisplayTest, BoxIsFilledAndFramedUnlessTheStyleSaysOtherwise) {
  struct Case {
    const char* name;
    long style;
    bool transparent;
    COLORREF corner;  // top-left pixel: the frame line's
    COLORREF inside;
  };
  const Case cases[] = {
      {"filled and framed", Gui::kNoTextStyle, false, kRed, kGreen},
      {"no frame", Gui::kNoTextStyle | Gui::kNoFrame, false, kBlue, kGreen},
      {"transparent", Gui::kNoTextStyle, true, kBlue, kBlue},
      {"no drawing", Gui::kNoDrawStyle, false, kBlue, kBlue},
  };
  for (const auto& c : cases) {
    Gui::CParamDisplay display(CRect(0, 0, 40, 20), nullptr, c.style);
    display.setBackColor(Gui::kGreenCColor);
    display.setFrameColor(Gui::kRedCColor);
    display.setTransparency(c.transparent);
    std::unique_ptr<Gui::COffscreenContext> shown;
    render(display, shown);
    EXPECT_EQ(c.corner, pixelAt(*shown, 0, 0)) << c.name;
    EXPECT_EQ(c.inside, pixelAt(*shown, 20, 10)) << c.name;
    EXPECT_FALSE(display.isDirty()) << c.name;
  }
}

TEST_F(ParamDisplayTest, EdgesOf3DStyles) {
  struct Case {
    long style;
    COLORREF topLeft;
    COLORREF bottomRight;
  };
  // The edge runs through (left, top + 1) to (right - 1, bottom - 1).
  const Case cases[] = {{Gui::k3DIn, kGreen, kRed}, {Gui::k3DOut, kRed, kGreen}};
  for (const auto& c : cases) {
    Gui::CParamDisplay display(CRect(0, 0, 40, 20), nullptr, c.style | Gui::kNoTextStyle);
    display.setBackColor(Gui::kGreenCColor);
    display.setFrameColor(Gui::kRedCColor);
    display.setTransparency(true);
    std::unique_ptr<Gui::COffscreenContext> shown;
    render(display, shown);
    EXPECT_EQ(c.topLeft, pixelAt(*shown, 0, 10)) << c.style;       // left edge
    EXPECT_EQ(c.topLeft, pixelAt(*shown, 20, 1)) << c.style;       // top edge
    EXPECT_EQ(c.bottomRight, pixelAt(*shown, 39, 10)) << c.style;  // right edge
    EXPECT_EQ(c.bottomRight, pixelAt(*shown, 20, 19)) << c.style;  // bottom edge
  }
}

TEST_F(ParamDisplayTest, BackgroundBitmapReplacesFillAndFrame) {
  auto* picture = makeBitmap(*frame, 40, 20, [](long, long) { return RGB(0, 128, 0); });
  Gui::CParamDisplay display(CRect(0, 0, 40, 20), picture, Gui::kNoTextStyle);
  picture->forget();
  display.setFrameColor(Gui::kRedCColor);
  std::unique_ptr<Gui::COffscreenContext> shown;
  render(display, shown);
  EXPECT_EQ(RGB(0, 128, 0), pixelAt(*shown, 0, 0));
  EXPECT_EQ(RGB(0, 128, 0), pixelAt(*shown, 20, 10));
}

// The text is clipped to the box and the context's clip comes back as it was, also when the context
// draws with an offset (as inside a container).
TEST_F(ParamDisplayTest, TextLeavesTheClipOfAnOffsetContextAsItWas) {
  Gui::CParamDisplay display(CRect(0, 0, 40, 20));
  Gui::COffscreenContext context(frame, 60, 40, Gui::kBlueCColor);
  context.offset = CPoint(7, 5);
  context.setClipRect(CRect(-2, -1, 45, 30));
  CRect before;
  context.getClipRect(before);
  display.draw(&context);
  CRect after;
  context.getClipRect(after);
  EXPECT_EQ(before, after);
  EXPECT_EQ(CRect(5, 4, 52, 35), after);
}

TEST_F(ParamDisplayTest, SettersRaiseTheDirtyFlagOnlyForChanges) {
  Gui::CParamDisplay display(CRect(0, 0, 40, 20));
  display.setDirty(false);
  display.setFontColor(Gui::kWhiteCColor);
  display.setHoriAlign(Gui::kCenterText);
  display.setStyle(0);
  EXPECT_FALSE(display.isDirty());
  display.setHoriAlign(Gui::kLeftText);
  EXPECT_TRUE(display.isDirty());
  EXPECT_TRUE(display.isTypeOf("CParamDisplay"));
  EXPECT_TRUE(display.isTypeOf("CControl"));
}

TEST_F(ParamDisplayTest, TextLabelShowsItsTextAtTheNextRedraw) {
  Gui::CTextLabel label(CRect(0, 0, 40, 20), "A");
  label.setDirty(false);
  label.setText("WWW");
  EXPECT_FALSE(label.isDirty());
  EXPECT_STREQ("WWW", label.getText());
  std::unique_ptr<Gui::COffscreenContext> shown;
  render(label, shown);
  Gui::CTextLabel reference(CRect(0, 0, 40, 20), "WWW");
  std::unique_ptr<Gui::COffscreenContext> expected;
  render(reference, expected);
  EXPECT_EQ(inkOf(*expected), inkOf(*shown));
  label.setText(nullptr);
  EXPECT_EQ(nullptr, label.getText());
  render(label, shown);
  EXPECT_EQ(0, inkOf(*shown));
}

TEST_F(ParamDisplayTest, TextEditSetTextRaisesTheDirtyFlagOnlyForChanges) {
  Gui::CTextEdit edit(CRect(0, 0, 40, 20), &listener, 3, "abc");
  edit.setDirty(false);
  edit.setText("abc");
  EXPECT_FALSE(edit.isDirty());
  edit.setText("abd");
  EXPECT_TRUE(edit.isDirty());
  edit.setText(nullptr);
  char text[256];
  edit.getText(text);
  EXPECT_STREQ("", text);
  edit.setDirty(false);
  edit.setText(nullptr);
  EXPECT_FALSE(edit.isDirty());
  const std::string longText(300, 'x');
  edit.setText(longText.c_str());
  edit.getText(text);
  EXPECT_EQ(255u, std::string(text).size());
}

void upper(char* text, char* display) {
  for (; *text; ++text, ++display) *display = static_cast<char>(*text & ~0x20);
  *display = 0;
}

TEST_F(ParamDisplayTest, TextEditShowsItsTextThroughTheConverters) {
  struct Case {
    const char* name;
    bool textConverter;
    bool valueConverter;
    const char* shown;
    const char* textAfter;
  };
  const Case cases[] = {
      {"plain", false, false, "abc", "abc"},
      {"text converter", true, false, "ABC", "abc"},
      {"value converter replaces the text", false, true, "25%", "25%"},
      {"text converter first", true, true, "ABC", "abc"},
  };
  for (const auto& c : cases) {
    Gui::CTextEdit edit(CRect(0, 0, 40, 20), &listener, 3, "abc");
    edit.setValue(0.25f);
    if (c.textConverter) edit.setTextEditConvert(&upper);
    if (c.valueConverter) edit.setStringConvert(&percent);
    std::unique_ptr<Gui::COffscreenContext> shown;
    render(edit, shown);
    Gui::CTextLabel reference(CRect(0, 0, 40, 20), c.shown);
    std::unique_ptr<Gui::COffscreenContext> expected;
    render(reference, expected);
    EXPECT_EQ(inkOf(*expected), inkOf(*shown)) << c.name;
    char text[256];
    edit.getText(text);
    EXPECT_STREQ(c.textAfter, text) << c.name;
  }
}

class TextEditTest : public ParamDisplayTest {
 protected:
  Scripted<Gui::CTextEdit>* makeEdit(long style, Gui::CHoriTxtAlign alignment = Gui::kCenterText) {
    auto* edit =
        add(new Scripted<Gui::CTextEdit>(CRect(10, 10, 110, 30), &listener, 3, "old", nullptr, style));
    edit->setHoriAlign(alignment);
    return edit;
  }
  void typeAndReturn(HWND window, const char* text) {
    SetWindowTextA(window, text);
    SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
  }
};

TEST_F(TextEditTest, AClickOpensTheEditFieldAndReturnEndsIt) {
  auto* edit = makeEdit(0);
  edit->play(windowContext(), {{{20, 20}, Gui::kLButton}});
  HWND field = edit->getEditWindow();
  ASSERT_NE(nullptr, field);
  EXPECT_EQ(frame->getWindowHandle(), GetParent(field));
  EXPECT_EQ(edit, frame->getFocusView());
  char shown[64];
  GetWindowTextA(field, shown, sizeof(shown));
  EXPECT_STREQ("old", shown);
  RECT area;
  GetWindowRect(field, &area);
  EXPECT_EQ(100, area.right - area.left);

  typeAndReturn(field, "new");
  EXPECT_EQ(nullptr, edit->getEditWindow());
  EXPECT_FALSE(IsWindow(field));
  EXPECT_TRUE(edit->wasReturnPressed());
  char text[256];
  edit->getText(text);
  EXPECT_STREQ("new", text);
  EXPECT_EQ(1u, listener.notifications.size());
  EXPECT_EQ(nullptr, frame->getFocusView());
  EXPECT_EQ((std::vector<long>{3, -1003}), editor->gestures);
}

TEST_F(TextEditTest, AnUnchangedTextTellsNobodyButEndsTheGesture) {
  auto* edit = makeEdit(0);
  edit->play(windowContext(), {{{20, 20}, Gui::kLButton}});
  ASSERT_NE(nullptr, edit->getEditWindow());
  typeAndReturn(edit->getEditWindow(), "old");
  EXPECT_TRUE(listener.notifications.empty());
  EXPECT_EQ((std::vector<long>{3, -1003}), editor->gestures);
}

TEST_F(TextEditTest, LosingTheKeyboardFocusEndsTheEdit) {
  auto* edit = makeEdit(0);
  edit->play(windowContext(), {{{20, 20}, Gui::kLButton}});
  HWND field = edit->getEditWindow();
  ASSERT_NE(nullptr, field);
  SetWindowTextA(field, "elsewhere");
  SetFocus(frame->getWindowHandle());
  EXPECT_EQ(nullptr, edit->getEditWindow());
  EXPECT_FALSE(edit->wasReturnPressed());
  EXPECT_EQ(1u, listener.notifications.size());
}

TEST_F(TextEditTest, DoubleClickStyleOpensOnlyOnTheSecondClick) {
  auto* edit = makeEdit(Gui::kDoubleClickStyle);
  edit->play(windowContext(), {{{20, 20}, Gui::kLButton}});
  EXPECT_EQ(nullptr, edit->getEditWindow());
  edit->play(windowContext(), {{{20, 20}, Gui::kLButton}});
  ASSERT_NE(nullptr, edit->getEditWindow());
  typeAndReturn(edit->getEditWindow(), "old");
}

TEST_F(TextEditTest, TheFieldTakesTheAlignmentOfTheDisplay) {
  const std::pair<Gui::CHoriTxtAlign, LONG> cases[] = {
      {Gui::kLeftText, ES_LEFT}, {Gui::kCenterText, ES_CENTER}, {Gui::kRightText, ES_RIGHT}};
  for (const auto& c : cases) {
    auto* edit = makeEdit(0, c.first);
    edit->play(windowContext(), {{{20, 20}, Gui::kLButton}});
    ASSERT_NE(nullptr, edit->getEditWindow());
    EXPECT_EQ(c.second, GetWindowLongA(edit->getEditWindow(), GWL_STYLE) & (ES_CENTER | ES_RIGHT)) << c.first;
    typeAndReturn(edit->getEditWindow(), "old");
    frame->removeAll(true);
  }
}

TEST_F(TextEditTest, TheFontFitsTheField) {
  // A 14-pixel font (big) in a 12-pixel-high field is made 10 pixels high.
  auto* edit = add(new Scripted<Gui::CTextEdit>(CRect(10, 10, 110, 22), &listener, 3, "old", nullptr, 0));
  edit->setFont(Gui::kNormalFontBig);
  edit->play(windowContext(), {{{20, 15}, Gui::kLButton}});
  ASSERT_NE(nullptr, edit->getEditWindow());
  auto font = reinterpret_cast<HFONT>(SendMessageA(edit->getEditWindow(), WM_GETFONT, 0, 0));
  LOGFONTA logFont{};
  GetObjectA(font, sizeof(logFont), &logFont);
  EXPECT_EQ(-10, logFont.lfHeight);
  typeAndReturn(edit->getEditWindow(), "old");
}

TEST_F(TextEditTest, ClearingTheFrameFocusClosesTheField) {
  auto* edit = makeEdit(0);
  edit->play(windowContext(), {{{20, 20}, Gui::kLButton}});
  HWND field = edit->getEditWindow();
  ASSERT_NE(nullptr, field);
  frame->setFocusView(nullptr);
  EXPECT_FALSE(IsWindow(field));
}

}  // namespace
