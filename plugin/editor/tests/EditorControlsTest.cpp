#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "plugin/editor/CScope.h"
#include "plugin/editor/OmEditor.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ParameterInfo.h"
#include "plugin/engine/dsp/Random.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/VstEvents.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/CKickButton.h"
#include "plugin/gui/CMovieBitmap.h"
#include "plugin/gui/COptionMenu.h"
#include "plugin/gui/CRockerSwitch.h"
#include "plugin/gui/CSplashScreen.h"

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

// Controllers arrive on an audio thread while the host opens, idles and closes the editor.
TEST_F(EditorControls, ControllersOnTheAudioThreadMeetOpeningAndClosing) {
  std::atomic<bool> done{false};
  std::thread audio([this, &done] {
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
    }
  });
  for (int round = 0; round < 40; ++round) {
    editor->close();
    ASSERT_TRUE(editor->open(parent));
    editor->idle();
  }
  done = true;
  audio.join();
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

// Learning is armed by a click with Shift and Ctrl held. The three go down in the input state as key
// events (VK_LBUTTON included), which sets what the controls read without clicking any window.
TEST_F(EditorControls, ShiftCtrlClickArmsMidiLearnAndKeepsTheStatus) {
  CDrawContext context(nullptr, nullptr, parent);
  INPUT keys[3] = {};
  const WORD held[3] = {VK_SHIFT, VK_CONTROL, VK_LBUTTON};
  for (int i = 0; i < 3; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = held[i];
  }
  SendInput(3, keys, sizeof(INPUT));
  const bool pressed = context.getMouseButtons() == 25;
  if (pressed) {
    editor->getScope()->setStatus("Before", 1.0f);
    control(22)->setValue(0.6f);
    editor->valueChanged(&context, control(22));
  }
  for (INPUT& key : keys) key.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(3, keys, sizeof(INPUT));
  if (!pressed) GTEST_SKIP() << "this display does not report keys pressed through the input queue";
  EXPECT_EQ(effect->learnTarget.load(), 22);
  EXPECT_FLOAT_EQ(effect->getParameter(22), 0.6f);
  EXPECT_STREQ(editor->getScope()->getLine(0), "Midi learn enabled!");
  EXPECT_STREQ(editor->getScope()->getStatus(), "Before : 1.00");
}

}  // namespace
