#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "plugin/editor/CScope.h"
#include "plugin/editor/OmEditor.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ParameterInfo.h"
#include "plugin/engine/ParameterMenu.h"
#include "plugin/engine/dsp/Random.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/VstEvents.h"
#include "plugin/gui/CBitmap.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/CKickButton.h"
#include "plugin/gui/CKnob.h"
#include "plugin/gui/CMovieBitmap.h"
#include "plugin/gui/COnOffButton.h"
#include "plugin/gui/COptionMenu.h"
#include "plugin/gui/CRockerSwitch.h"
#include "plugin/gui/CSplashScreen.h"
#include "tests/support/InputKeys.h"

using namespace Gui;

namespace {

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  float opt;
};

std::vector<HostCall> hostCalls;

VstIntPtr recordingHost(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index, VstIntPtr /*value*/,
                        void* /*ptr*/, float opt) {
  hostCalls.push_back({opcode, index, opt});
  return opcode == audioMasterVersion ? 2400 : 0;
}

int countCalls(VstInt32 opcode) {
  int count = 0;
  for (const HostCall& call : hostCalls) count += call.opcode == opcode;
  return count;
}

// The effect of this test program (which links the editor and its pictures) with its editor open in a
// real window.
class EditorControls : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowA("STATIC", "editor host", WS_OVERLAPPEDWINDOW, 0, 0, 700, 450, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    effect = std::make_unique<OmAudio>(&recordingHost);
    editor = static_cast<OmEditor*>(effect->getEditor());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->open(parent));
    hostCalls.clear();
  }
  void TearDown() override {
    editor->close();
    effect.reset();
    DestroyWindow(parent);
  }

  CControl* control(int tag) const { return editor->getParameterControl(tag); }
  COptionMenu* menu(int tag) const { return static_cast<COptionMenu*>(control(tag)); }

  // A button of the editor's own as the user presses (1) and releases (0) it.
  void press(CControl& button) {
    button.setValue(1.0f);
    editor->valueChanged(nullptr, &button);
    button.setValue(0.0f);
    editor->valueChanged(nullptr, &button);
  }
  void rock(int tag, float direction) {
    CRockerSwitch rocker(CRect(0, 0, 20, 35), editor, tag, 35, nullptr, CPoint(0, 0), 2);
    rocker.setValue(direction);
    editor->valueChanged(nullptr, &rocker);
    rocker.setValue(0.0f);
    editor->valueChanged(nullptr, &rocker);
  }
  std::string programName() {
    char name[programNameCapacity] = {};
    effect->getProgramName(name);
    return name;
  }

  HWND parent = nullptr;
  std::unique_ptr<OmAudio> effect;
  OmEditor* editor = nullptr;
};

// The settings the controls keep to themselves, read through pointers to their members.
struct KnobParts : CKnob {
  static auto handleOf() { return &KnobParts::pHandle; }
  static auto offsetOf() { return &KnobParts::offset; }
};
struct MovieParts : CMovieBitmap {
  static auto picturesOf() { return &MovieParts::subPixmaps; }
  static auto pictureHeightOf() { return &MovieParts::heightOfOneImage; }
  static auto offsetOf() { return &MovieParts::offset; }
};
struct RockerParts : CRockerSwitch {
  static auto pictureHeightOf() { return &RockerParts::heightOfOneImage; }
  static auto styleOf() { return &RockerParts::style; }
  static auto offsetOf() { return &RockerParts::offset; }
};
struct KickParts : CKickButton {
  static auto pictureHeightOf() { return &KickParts::heightOfOneImage; }
  static auto offsetOf() { return &KickParts::offset; }
};
struct SplashParts : CSplashScreen {
  static auto shownOf() { return &SplashParts::toDisplay; }
  static auto offsetOf() { return &SplashParts::offset; }
};

enum class Kind { Scope, Rocker, StepKey, Light, Knob, Menu, Kick, Preset, Splash };

// One view of the panel in the order of creation (the drawing order).
struct ViewRow {
  Kind kind;
  long tag;
  long left, top, width, height;
  long bitmap;  // resource id of the background, 0 for none
  long detail;  // knob: handle bitmap; menu: entry count; lights: initial value
  int grey;     // menus: the grey level (the LFO 1 destination menu is 74, 75, 75)
};

std::vector<ViewRow> panelRows() {
  std::vector<ViewRow> rows;
  rows.push_back(
      {Kind::Scope, 0, 280, 12, 134, 106, 0, 0, 0});  // its size is that of bitmap 134, which it keeps
  for (const auto& r : {std::array<long, 3>{102, 83, 143}, {103, 83, 201}, {104, 333, 261}, {105, 509, 203}})
    rows.push_back({Kind::Rocker, r[0], r[1], r[2], 20, 35, 130, 0, 0});
  const long keyLefts[16] = {59, 74, 90, 106, 122, 138, 154, 169, 185, 201, 217, 233, 249, 265, 280, 296};
  for (int i = 0; i < 16; ++i) rows.push_back({Kind::StepKey, 31 + i, keyLefts[i], 275, 14, 15, 135, 0, 0});
  const long lightLefts[16] = {62, 77, 93, 109, 125, 141, 156, 172, 188, 204, 220, 235, 251, 267, 283, 299};
  for (int i = 0; i < 16; ++i) rows.push_back({Kind::Light, 0, lightLefts[i], 259, 9, 12, 129, 1, 0});
  rows.push_back({Kind::Light, 0, 338, 155, 9, 12, 129, 0, 0});
  rows.push_back({Kind::Light, 0, 338, 214, 9, 12, 129, 0, 0});
  const long knobs[15][3] = {{1, 122, 11},   {4, 122, 76},   {8, 463, 80},  {9, 556, 21},   {10, 556, 80},
                             {11, 46, 148},  {14, 236, 148}, {16, 46, 207}, {19, 236, 207}, {21, 385, 148},
                             {22, 431, 148}, {24, 503, 148}, {2, 189, 19},  {5, 189, 83},   {29, 492, 266}};
  for (const auto& k : knobs) {
    const bool big = k[0] == 1 || k[0] == 4;
    rows.push_back({Kind::Knob, k[0], k[1], k[2], big ? 40 : 26, big ? 40 : 26, 128, big ? 131 : 133, 0});
  }
  const long menus[16][5] = {
      {0, 56, 29, 114, 58},   {3, 56, 92, 107, 58},   {7, 446, 29, 56, 12},   {6, 217, 59, 100, 8},
      {25, 537, 156, 36, 18}, {23, 392, 218, 49, 17}, {15, 275, 155, 74, 18}, {20, 275, 213, 64, 18},
      {13, 174, 155, 92, 15}, {18, 174, 213, 78, 15}, {12, 110, 155, 92, 25}, {17, 110, 213, 78, 25},
      {26, 537, 213, 33, 12}, {27, 362, 272, 46, 25}, {30, 528, 272, 30, 21}, {28, 426, 272, 41, 20}};
  for (const auto& m : menus)
    rows.push_back({Kind::Menu, m[0], m[1], m[2], 53, 11, 0, m[4], static_cast<int>(m[3])});
  rows.push_back({Kind::Kick, 47, 436, 321, 33, 16, 136, 0, 0});
  rows.push_back({Kind::Kick, 106, 402, 321, 33, 16, 137, 0, 0});
  rows.push_back({Kind::Kick, 107, 333, 321, 33, 16, 139, 0, 0});
  rows.push_back({Kind::Kick, 108, 368, 321, 33, 16, 138, 0, 0});
  rows.push_back({Kind::Menu, 109, 80, 331, 123, 13, 0, 159, 55});
  rows.push_back({Kind::Rocker, 110, 50, 321, 20, 35, 130, 0, 0});
  for (const auto& b :
       {std::array<long, 3>{111, 264, 322}, {113, 264, 340}, {112, 299, 322}, {114, 299, 340}})
    rows.push_back({Kind::Preset, b[0], b[1], b[2], 32, 12, 128, 0, 0});
  rows.push_back({Kind::Splash, 152, 520, 312, 60, 60, 132, 0, 0});
  return rows;
}

// Every view of the open panel: class, place and size, tag, bitmap and the settings of its kind.
TEST_F(EditorControls, EveryViewOfThePanelWithItsPlaceTagAndBitmap) {
  const std::vector<ViewRow> rows = panelRows();
  CFrame* frame = editor->getFrame();
  ASSERT_EQ(rows.size(), 81u);
  ASSERT_EQ(frame->getNbViews(), 81);
  CRect whole;
  frame->getViewSize(whole);
  EXPECT_EQ(whole, CRect(0, 0, 632, 373));
  EXPECT_EQ(frame->getBackground()->getResourceID(), 128);
  for (long index = 0; index < 81; ++index) {
    const ViewRow& row = rows[index];
    SCOPED_TRACE(testing::Message() << "view " << index << " tag " << row.tag);
    CView* view = frame->getView(index);
    CRect place;
    view->getViewSize(place);
    EXPECT_EQ(place, CRect(row.left, row.top, row.left + row.width, row.top + row.height));
    EXPECT_EQ(view->getBackground() ? view->getBackground()->getResourceID() : 0, row.bitmap);
    if (row.kind == Kind::Scope) {
      EXPECT_TRUE(typeid(*view) == typeid(CScope));
      continue;
    }
    auto* control = dynamic_cast<CControl*>(view);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->getTag(), row.tag);
    EXPECT_EQ(control->getListener(), editor);
    switch (row.kind) {
      case Kind::Rocker: {
        ASSERT_TRUE(typeid(*view) == typeid(CRockerSwitch));
        auto& rocker = static_cast<CRockerSwitch&>(*view);
        EXPECT_EQ(rocker.*RockerParts::pictureHeightOf(), 35);
        EXPECT_EQ(rocker.*RockerParts::styleOf(), kRockerVertical);
        EXPECT_EQ(rocker.*RockerParts::offsetOf(), CPoint(0, 0));
        EXPECT_TRUE(view->getTransparency());
        EXPECT_EQ(view->getBackground()->getTransparentColor(), kGreenCColor);
        break;
      }
      case Kind::StepKey:
        ASSERT_TRUE(typeid(*view) == typeid(COnOffButton));
        EXPECT_EQ(static_cast<COnOffButton&>(*view).getStyle(), kPostListenerUpdate);
        EXPECT_TRUE(view->getTransparency());
        EXPECT_EQ(view->getBackground()->getTransparentColor(), kBlackCColor);
        break;
      case Kind::Light: {
        ASSERT_TRUE(typeid(*view) == typeid(CMovieBitmap));
        auto& light = static_cast<CMovieBitmap&>(*view);
        EXPECT_EQ(light.*MovieParts::picturesOf(), 2);
        EXPECT_EQ(light.*MovieParts::pictureHeightOf(), 11);
        EXPECT_EQ(light.*MovieParts::offsetOf(), CPoint(0, 0));
        EXPECT_TRUE(view->getTransparency());
        EXPECT_EQ(view->getBackground()->getTransparentColor(), kGreenCColor);
        break;
      }
      case Kind::Knob: {
        ASSERT_TRUE(typeid(*view) == typeid(CKnob));
        auto& knob = static_cast<CKnob&>(*view);
        EXPECT_EQ((knob.*KnobParts::handleOf())->getResourceID(), row.detail);
        EXPECT_EQ(knob.*KnobParts::offsetOf(), CPoint(row.left, row.top));
        EXPECT_EQ(knob.getInsetValue(), 6);
        EXPECT_EQ(knob.getZoomFactor(), 8.0f);
        EXPECT_TRUE(view->getTransparency());
        break;
      }
      case Kind::Menu: {
        ASSERT_TRUE(typeid(*view) == typeid(COptionMenu));
        auto& menu = static_cast<COptionMenu&>(*view);
        EXPECT_EQ(menu.getNbEntries(), row.detail);
        // A parameter's menu offers the texts the effect shows for its entries.
        for (long k = 0; row.tag != 109 && k < menu.getNbEntries(); ++k) {
          char offered[256] = {};
          char shown[64] = {};
          menu.getEntry(k, offered);
          effect->formatParameterValue(static_cast<VstInt32>(row.tag), encodeMenuEntry(k), shown);
          EXPECT_STREQ(offered, shown) << "entry " << k;
        }
        EXPECT_EQ(menu.getStyle(), 0x404);
        EXPECT_EQ(menu.getNbItemsPerColumn(), 32);
        const auto level = static_cast<unsigned char>(row.grey);
        const CColor grey{level, static_cast<unsigned char>(row.tag == 15 ? 75 : level),
                          static_cast<unsigned char>(row.tag == 15 ? 75 : level), 255};
        EXPECT_EQ(menu.getBackColor(), grey);
        EXPECT_EQ(menu.getFrameColor(), grey);
        const auto shifted = [](uint8_t c, int by) { return static_cast<uint8_t>(c + by); };
        EXPECT_EQ(menu.getFontColor(),
                  (CColor{shifted(grey.red, 140), shifted(grey.green, 140), shifted(grey.blue, 140), 255}));
        EXPECT_EQ(menu.getShadowColor(),
                  (CColor{static_cast<uint8_t>(grey.red / 2), static_cast<uint8_t>(grey.green / 2),
                          static_cast<uint8_t>(grey.blue / 2), 255}));
        EXPECT_EQ(menu.getFont(), kNormalFontSmaller);
        EXPECT_NE(menu.getScheme(), nullptr);
        break;
      }
      case Kind::Kick:
      case Kind::Preset: {
        ASSERT_TRUE(typeid(*view) == typeid(CKickButton));
        auto& button = static_cast<CKickButton&>(*view);
        const bool preset = row.kind == Kind::Preset;
        EXPECT_EQ(button.*KickParts::pictureHeightOf(), preset ? 0 : 16);
        EXPECT_EQ(button.*KickParts::offsetOf(), preset ? CPoint(row.left, row.top) : CPoint(0, 0));
        EXPECT_EQ(view->getTransparency(), preset);
        break;
      }
      case Kind::Splash: {
        ASSERT_TRUE(typeid(*view) == typeid(CSplashScreen));
        auto& splash = static_cast<CSplashScreen&>(*view);
        EXPECT_EQ(splash.*SplashParts::shownOf(), CRect(0, 0, 632, 373));
        EXPECT_EQ(splash.*SplashParts::offsetOf(), CPoint(0, 0));
        EXPECT_EQ(splash.getBitmapTransparency(), 255);
        break;
      }
      case Kind::Scope:
        break;
    }
  }
}

TEST_F(EditorControls, OpenShowsTheEffectsValuesAndPrograms) {
  for (const int tag : {1, 2, 4, 5, 8, 9, 10, 11, 14, 16, 19, 21, 22, 24, 29}) {
    EXPECT_FLOAT_EQ(control(tag)->getValue(), effect->getParameter(tag)) << tag;
  }
  for (const int tag : {0, 3, 6, 7, 12, 13, 15, 17, 18, 20, 23, 25, 26, 27, 28, 30}) {
    EXPECT_EQ(menu(tag)->getCurrent(nullptr, true),
              static_cast<long>(effect->getParameter(tag) * 100.0f - 0.005f))
        << tag;
  }
  EXPECT_EQ(editor->getParameterControl(47), nullptr);
  COptionMenu* programs = editor->getProgramMenu();
  EXPECT_EQ(programs->getNbEntries(), 159);
  char first[256] = {};
  programs->getEntry(0, first);
  EXPECT_STREQ(first, effect->programs[0].name);
  EXPECT_STREQ(editor->getScope()->getLine(1), "Version: v3.4");
}

TEST_F(EditorControls, EachMenuHoldsTheEntriesOfItsParameter) {
  const struct {
    int tag;
    long entries;
    const char* first;
  } cases[] = {{0, 58, "Bypass"}, {3, 58, "Bypass"}, {7, 12, "Bypass"}, {6, 8, "Bypass"},
               {25, 18, nullptr}, {23, 17, "off"},   {15, 18, nullptr}, {20, 18, "off"},
               {13, 15, "Tri"},   {18, 15, "Tri"},   {12, 25, "none"},  {17, 25, "none"},
               {26, 12, nullptr}, {27, 25, nullptr}, {30, 21, "off"},   {28, 20, nullptr}};
  for (const auto& c : cases) {
    EXPECT_EQ(menu(c.tag)->getNbEntries(), c.entries) << c.tag;
    char text[256] = {};
    menu(c.tag)->getEntry(0, text);
    if (c.first) {
      EXPECT_STREQ(text, c.first) << c.tag;
    }
  }
}

TEST_F(EditorControls, ControlsSitOnTheirTruncatedPlaces) {
  CRect place;
  control(34)->getViewSize(place);  // step 4
  EXPECT_EQ(place.left, 106);
  EXPECT_EQ(place.top, 275);
  editor->getStepLed(3)->getViewSize(place);
  EXPECT_EQ(place.left, 109);
  EXPECT_EQ(place.width(), 9);
  EXPECT_EQ(place.height(), 12);
  control(1)->getViewSize(place);
  EXPECT_EQ(place, CRect(122, 11, 162, 51));
  control(29)->getViewSize(place);
  EXPECT_EQ(place, CRect(492, 266, 518, 292));
}

TEST_F(EditorControls, AKnobChangeSetsTheParameterThroughTheAutomatedPathAndExplainsItself) {
  control(9)->setValue(0.25f);
  editor->valueChanged(nullptr, control(9));
  EXPECT_FLOAT_EQ(effect->getParameter(9), 0.25f);
  ASSERT_EQ(countCalls(audioMasterAutomate), 1);
  EXPECT_EQ(hostCalls[0].index, 9);
  EXPECT_FLOAT_EQ(hostCalls[0].opt, 0.25f);
  EXPECT_STREQ(editor->getScope()->getStatus(), "Volume : 0.25");
  EXPECT_STREQ(editor->getScope()->getLine(0), "Volume controls the");
  EXPECT_EQ(effect->learnTarget.load(), -1);

  control(1)->setValue(1.0f);
  editor->valueChanged(nullptr, control(1));
  EXPECT_STREQ(editor->getScope()->getStatus(), "Cutoff in Hz : 20000.00");
  control(1)->setValue(0.0f);
  editor->valueChanged(nullptr, control(1));
  EXPECT_STREQ(editor->getScope()->getStatus(), "Cutoff in Hz : 50.69");
}

TEST_F(EditorControls, AStepKeySetsItsStep) {
  control(33)->setValue(1.0f);
  editor->valueChanged(nullptr, control(33));
  EXPECT_FLOAT_EQ(effect->getParameter(33), 1.0f);
  EXPECT_EQ(countCalls(audioMasterAutomate), 1);
  EXPECT_STREQ(editor->getScope()->getLine(0), "You can use the step");
  EXPECT_STREQ(editor->getScope()->getStatus(), "");
}

TEST_F(EditorControls, DeletingTheEffectWithTheEditorOpenRemovesItsWindow) {
  effect.reset();
  EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
  effect = std::make_unique<OmAudio>(&recordingHost);
  editor = static_cast<OmEditor*>(effect->getEditor());
}

TEST_F(EditorControls, AHostChangeMovesTheControlWithoutDrawing) {
  effect->setParameter(9, 0.75f);
  EXPECT_FLOAT_EQ(control(9)->getValue(), 0.75f);
  EXPECT_TRUE(control(9)->isDirty());
  effect->setParameter(40, 1.0f);
  EXPECT_FLOAT_EQ(control(40)->getValue(), 1.0f);
  effect->setParameter(0, 0.05f);
  EXPECT_EQ(menu(0)->getCurrent(nullptr, true), 4);
  effect->setParameter(0, 0.0f);
  EXPECT_EQ(menu(0)->getCurrent(nullptr, true), 0);
  effect->setParameter(0, 0.9f);  // no such entry: the menu keeps its choice
  EXPECT_EQ(menu(0)->getCurrent(nullptr, true), 0);
  for (const int index : {47, 60, -1}) editor->setParameter(index, 0.3f);
  EXPECT_FLOAT_EQ(control(9)->getValue(), 0.75f);
}

TEST_F(EditorControls, AMenuChoiceSendsItsEntryValue) {
  menu(6)->setCurrent(4, true);
  editor->valueChanged(nullptr, menu(6));
  EXPECT_FLOAT_EQ(effect->getParameter(6), 0.05f);
  EXPECT_EQ(countCalls(audioMasterAutomate), 1);
  EXPECT_STREQ(editor->getScope()->getLine(0), "Routing controls the order");
}

TEST_F(EditorControls, SyncRockersStepTheirMenusAndStopAtTheEnds) {
  effect->setParameter(26, 0.12f);  // "BPM x0.25", the last of 12
  rock(105, 1.0f);
  EXPECT_FLOAT_EQ(effect->getParameter(26), 0.12f);
  rock(105, -1.0f);
  EXPECT_FLOAT_EQ(effect->getParameter(26), 0.11f);
  effect->setParameter(12, 0.0f);
  rock(102, -1.0f);
  EXPECT_FLOAT_EQ(effect->getParameter(12), 0.01f);
  rock(102, 1.0f);
  EXPECT_FLOAT_EQ(effect->getParameter(12), 0.02f);
  EXPECT_EQ(menu(12)->getCurrent(nullptr, true), 1);
  EXPECT_STREQ(editor->getScope()->getLine(0), "LFO sync makes the LFOs");
}

TEST_F(EditorControls, ProgramRockerStepsAndStopsAtTheEnds) {
  rock(110, -1.0f);
  EXPECT_EQ(effect->getProgram(), 0);
  rock(110, 1.0f);
  EXPECT_EQ(effect->getProgram(), 1);
  EXPECT_EQ(editor->getProgramMenu()->getCurrent(nullptr, true), 1);
  editor->getProgramMenu()->setCurrent(158, true);
  rock(110, 1.0f);
  EXPECT_EQ(effect->getProgram(), 158);
  EXPECT_GE(countCalls(audioMasterUpdateDisplay), 3);
}

TEST_F(EditorControls, RandomMakesANamedPatchAndLeavesTheLastParameter) {
  effect->setParameter(47, 0.7f);
  CKickButton random(CRect(0, 0, 33, 16), editor, 47, 16, nullptr, CPoint(0, 0));
  press(random);
  EXPECT_EQ(programName(), "Random");
  EXPECT_FLOAT_EQ(effect->getParameter(47), 0.7f);
  EXPECT_FLOAT_EQ(effect->getParameter(11), 1.0f);
  EXPECT_FLOAT_EQ(effect->getParameter(15), 0.155f);
  EXPECT_FLOAT_EQ(effect->getParameter(10), 1.0f);
  for (int tag = 31; tag <= 46; ++tag) {
    EXPECT_TRUE(effect->getParameter(tag) == 0.0f || effect->getParameter(tag) == 1.0f);
    EXPECT_FLOAT_EQ(control(tag)->getValue(), effect->getParameter(tag));
  }
  EXPECT_FLOAT_EQ(control(1)->getValue(), effect->getParameter(1));
  EXPECT_EQ(countCalls(audioMasterAutomate), 0);
  EXPECT_EQ(countCalls(audioMasterUpdateDisplay), 2);
}

TEST_F(EditorControls, DefaultSetsEveryValueOfItsTable) {
  CKickButton button(CRect(0, 0, 33, 16), editor, 106, 16, nullptr, CPoint(0, 0));
  press(button);
  EXPECT_EQ(programName(), "Default");
  EXPECT_FLOAT_EQ(effect->getParameter(2), 0.36146164f);
  EXPECT_FLOAT_EQ(effect->getParameter(8), 0.84343076f);
  std::uint32_t bits = 0;
  const float delayType = effect->getParameter(25);
  std::memcpy(&bits, &delayType, sizeof(bits));
  EXPECT_EQ(bits, 0x3DCCCCCBu);
  EXPECT_EQ(menu(25)->getCurrent(nullptr, true), 9);
  EXPECT_EQ(menu(15)->getCurrent(nullptr, true), 15);
  EXPECT_FLOAT_EQ(control(10)->getValue(), 1.0f);
}

TEST_F(EditorControls, PasteRestoresTheCopiedValuesAndName) {
  CKickButton paste(CRect(0, 0, 33, 16), editor, 108, 16, nullptr, CPoint(0, 0));
  const float before = effect->getParameter(1);
  press(paste);  // nothing copied yet: nothing changes
  EXPECT_FLOAT_EQ(effect->getParameter(1), before);

  CKickButton copy(CRect(0, 0, 33, 16), editor, 107, 16, nullptr, CPoint(0, 0));
  const std::string name = programName();
  press(copy);
  effect->setParameter(1, 0.123f);
  effect->setParameter(33, 1.0f - effect->getParameter(33));
  char other[] = "edited";
  effect->setProgramName(other);
  hostCalls.clear();
  press(paste);
  EXPECT_FLOAT_EQ(effect->getParameter(1), before);
  EXPECT_EQ(programName(), name);
  EXPECT_EQ(countCalls(audioMasterAutomate), 48);
}

TEST_F(EditorControls, IdleLightsTheStepAndFollowsProgramsAndTheResponse) {
  char name[] = "Renamed";
  effect->setProgramName(name);
  effect->setProgram(3);
  effect->setParameter(6, 0.01f);  // routing "Bypass": a flat line
  effect->currentStep = 5;
  editor->idle();
  for (int step = 0; step < 16; ++step) {
    EXPECT_FLOAT_EQ(editor->getStepLed(step)->getValue(), step == 5 ? 0.0f : 1.0f) << step;
  }
  EXPECT_EQ(editor->getProgramMenu()->getCurrent(nullptr, true), 3);
  char entry[256] = {};
  editor->getProgramMenu()->getEntry(0, entry);
  EXPECT_STREQ(entry, "Renamed");
  for (int column = 0; column < 134; ++column) EXPECT_EQ(editor->getScope()->getValues()[column], 52);
  EXPECT_EQ(editor->getScope()->getMode(), 2);

  effect->lfo1Output = 0.8f;
  editor->idle();
  EXPECT_FLOAT_EQ(editor->getLfoLed(0)->getValue(), 0.8f);
}

TEST_F(EditorControls, WhileTheSplashIsUpIdleOnlyWaits) {
  CSplashScreen splash(CRect(520, 312, 580, 372), editor, 152, nullptr, CRect(0, 0, 632, 373), CPoint(0, 0));
  splash.setValue(1.0f);
  editor->valueChanged(nullptr, &splash);
  EXPECT_TRUE(editor->isSplashShown());
  effect->currentStep = 9;
  const auto start = std::chrono::steady_clock::now();
  editor->idle();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
  EXPECT_NE(editor->getStepLed(9)->getValue(), 0.0f);
  splash.setValue(0.0f);
  editor->valueChanged(nullptr, &splash);
  EXPECT_FALSE(editor->isSplashShown());
}

TEST_F(EditorControls, ReopeningBuildsAFreshPanelWithTheCurrentValues) {
  editor->close();
  EXPECT_EQ(editor->getScope(), nullptr);
  editor->setParameter(9, 0.5f);  // closed: ignored
  editor->idle();
  effect->setParameter(9, 0.125f);
  ASSERT_TRUE(editor->open(parent));
  EXPECT_FLOAT_EQ(control(9)->getValue(), 0.125f);
}

// Menu values drawn by Random: each names an entry of its menu, for the sound and for the menu alike.
TEST_F(EditorControls, RandomMenuValuesNeverPassTheLastEntry) {
  CKickButton random(CRect(0, 0, 33, 16), editor, 47, 16, nullptr, CPoint(0, 0));
  const int menus[] = {0, 3, 6, 13, 17, 18, 20, 25, 26, 27, 28, 30};
  const std::uint32_t seed = randomSeed.load();
  for (int patch = 0; patch < 20000; ++patch) {
    press(random);
    for (const int tag : menus) {
      const float value = effect->getParameter(tag);
      const long shown = static_cast<long>(value * 100.0f - 0.005f);
      ASSERT_LT(shown, menu(tag)->getNbEntries()) << "parameter " << tag << " value " << value;
      ASSERT_EQ(menu(tag)->getCurrent(nullptr, true), shown) << "parameter " << tag << " value " << value;
      ASSERT_LT(decodeParameterEntry(tag, value), menu(tag)->getNbEntries()) << "parameter " << tag;
    }
  }
  randomSeed = seed;
}

// A learned controller changes its parameter on the audio thread; the controls belong to the editor's
// thread and show the change at its next idle.
TEST_F(EditorControls, ChangesFromAnotherThreadReachTheControlsAtTheNextIdle) {
  effect->setParameter(9, 0.125f);
  effect->setParameter(6, 0.01f);
  std::thread([this] {
    effect->setParameter(9, 0.75f);
    effect->setParameter(6, 0.05f);
  }).join();
  EXPECT_FLOAT_EQ(effect->getParameter(9), 0.75f);
  EXPECT_FLOAT_EQ(control(9)->getValue(), 0.125f);
  EXPECT_EQ(menu(6)->getCurrent(nullptr, true), 0);
  editor->idle();
  EXPECT_FLOAT_EQ(control(9)->getValue(), 0.75f);
  EXPECT_EQ(menu(6)->getCurrent(nullptr, true), 4);
}

// Controllers arrive on an audio thread while the host opens, idles and closes the editor. The controls
// belong to the editor's thread: whenever the editor is open, controllers change no control by
// themselves; the next idle shows what they did.
TEST_F(EditorControls, ControllersOnTheAudioThreadMeetOpeningAndClosing) {
  std::atomic<bool> done{false};
  std::atomic<int> sent{0};
  std::thread audio([this, &done, &sent] {
    VstMidiEvent midi{};
    midi.type = kVstMidiType;
    midi.byteSize = sizeof midi;
    midi.midiData[0] = static_cast<char>(0xB0);
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&midi);
    for (int message = 0; !done; ++message) {
      midi.midiData[1] = static_cast<char>(message % 2 == 0 ? 7 : 74);  // "Volume", "Cutoff"
      midi.midiData[2] = static_cast<char>(message % 128);
      effect->processEvents(&events);
      ++sent;
    }
  });
  // The two controls stay as they are while the audio thread changes both parameters once more: the
  // two messages after the one under way when the count is read.
  const auto expectUntouched = [&](const char* after, int round) {
    const float volume = control(1)->getValue();
    const float cutoff = control(9)->getValue();
    const int from = sent;
    while (sent < from + 3) std::this_thread::yield();
    EXPECT_FLOAT_EQ(control(1)->getValue(), volume) << after << " " << round;
    EXPECT_FLOAT_EQ(control(9)->getValue(), cutoff) << after << " " << round;
  };
  bool reopened = true;
  for (int round = 0; round < 40; ++round) {
    editor->close();
    reopened = editor->open(parent);
    if (!reopened) break;
    expectUntouched("opened in round", round);
    editor->idle();
    expectUntouched("idled in round", round);
  }
  done = true;
  audio.join();
  ASSERT_TRUE(reopened);
  editor->idle();
  EXPECT_FLOAT_EQ(control(9)->getValue(), effect->getParameter(9));
  EXPECT_FLOAT_EQ(control(1)->getValue(), effect->getParameter(1));
}

// Kick buttons, rockers and the program menu carry tags that name no parameter: their gestures stay
// in the editor.
TEST_F(EditorControls, OnlyParameterControlsTellTheHostOfTheirGestures) {
  CFrame* frame = editor->getFrame();
  for (const long tag : {47L, 102L, 105L, 106L, 107L, 108L, 109L, 110L, 111L, 114L, 152L, -1L}) {
    frame->beginEdit(tag);
    frame->endEdit(tag);
  }
  EXPECT_EQ(countCalls(audioMasterBeginEdit), 0);
  EXPECT_EQ(countCalls(audioMasterEndEdit), 0);
  for (const long tag : {0L, 9L, 46L}) {
    frame->beginEdit(tag);
    frame->endEdit(tag);
  }
  ASSERT_EQ(countCalls(audioMasterBeginEdit), 3);
  ASSERT_EQ(countCalls(audioMasterEndEdit), 3);
  EXPECT_EQ(hostCalls.back().index, 46);
}

// Learning is armed by a click with Shift and Ctrl held. The three go down in the input state, which
// sets what the controls read without clicking any window.
TEST_F(EditorControls, ShiftCtrlClickArmsMidiLearnAndKeepsTheStatus) {
  CDrawContext context(nullptr, nullptr, parent);
  const std::vector<WORD> held = {VK_SHIFT, VK_CONTROL, VK_LBUTTON};
  Testing::sendKeys(held, true);
  const long buttons = context.getMouseButtons();
  if (buttons == 25) {
    editor->getScope()->setStatus("Before", 1.0f);
    control(22)->setValue(0.6f);
    editor->valueChanged(&context, control(22));
  }
  Testing::sendKeys(held, false);
  ASSERT_EQ(buttons, 25) << "Shift, Ctrl and the left button were not seen held";
  EXPECT_EQ(effect->learnTarget.load(), 22);
  EXPECT_FLOAT_EQ(effect->getParameter(22), 0.6f);
  EXPECT_STREQ(editor->getScope()->getLine(0), "Midi learn enabled!");
  EXPECT_STREQ(editor->getScope()->getStatus(), "Before : 1.00");
}

}  // namespace
