#include "plugin/editor/OmEditor.h"

#include <windows.h>

#include <cstdio>

#include "plugin/editor/CScope.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/dsp/Random.h"
#include "plugin/gui/CBitmap.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/CKickButton.h"
#include "plugin/gui/CKnob.h"
#include "plugin/gui/CMovieBitmap.h"
#include "plugin/gui/COnOffButton.h"
#include "plugin/gui/COptionMenu.h"
#include "plugin/gui/COptionMenuScheme.h"
#include "plugin/gui/CRockerSwitch.h"
#include "plugin/gui/CSplashScreen.h"

using namespace Gui;

namespace {

enum BitmapId : long {
  PanelBitmap = 128,
  LedBitmap = 129,
  RockerBitmap = 130,
  BigHandleBitmap = 131,
  SplashBitmap = 132,
  SmallHandleBitmap = 133,
  ScopeBitmap = 134,
  StepBitmap = 135,
  RandomBitmap = 136,
  DefaultBitmap = 137,
  PasteBitmap = 138,
  CopyBitmap = 139,
};

constexpr long bigKnobSize = 40;
constexpr long smallKnobSize = 26;
constexpr long knobInset = 6;
constexpr float knobZoom = 8.0f;
constexpr long menuWidth = 53;
constexpr long menuHeight = 11;
constexpr long menuStyle = 0x404;  // shadowed text; the current entry ticked in the pop-up
constexpr long menuColumnLength = 32;
constexpr long menuTextCapacity = 256;
constexpr long indicatorHeight = 12;
constexpr long indicatorImages = 2;
constexpr long indicatorImageHeight = 11;
constexpr long rockerImages = 3;
constexpr long verticalRocker = 2;
constexpr long kickImageHeight = 16;
constexpr long presetButtonWidth = 32;
constexpr long presetButtonHeight = 12;
constexpr long stepTop = 275;
constexpr long stepLedTop = 259;
constexpr int32_t knobMode = 2;   // linear dragging
constexpr size_t entrySlot = 32;  // the longest entry text is 31 characters

struct KnobPlace {
  int32_t tag;
  long left;
  long top;
  bool big;
};

// In the order of creation, which is also the drawing order.
constexpr KnobPlace knobPlaces[] = {
    {ParameterIndex::Cutoff1, 122, 11, true},        {ParameterIndex::Cutoff2, 122, 76, true},
    {ParameterIndex::Drive, 463, 80, false},         {ParameterIndex::Volume, 556, 21, false},
    {ParameterIndex::DryWet, 556, 80, false},        {ParameterIndex::Lfo1Rate, 46, 148, false},
    {ParameterIndex::Lfo1Send, 236, 148, false},     {ParameterIndex::Lfo2Rate, 46, 207, false},
    {ParameterIndex::Lfo2Send, 236, 207, false},     {ParameterIndex::EnvelopeTime, 385, 148, false},
    {ParameterIndex::EnvelopeSend, 431, 148, false}, {ParameterIndex::DelaySend, 503, 148, false},
    {ParameterIndex::Resonance1, 189, 19, false},    {ParameterIndex::Resonance2, 189, 83, false},
    {ParameterIndex::StepSend, 492, 266, false},
};

struct MenuPlace {
  int32_t tag;
  long left;
  long top;
  CColor grey;
  ParameterMenu menu;
};

constexpr CColor grey(uint8_t level) {
  return CColor{level, level, level, 255};
}

constexpr MenuPlace menuPlaces[] = {
    {ParameterIndex::FilterType1, 56, 29, grey(114), ParameterMenu::FilterType},
    {ParameterIndex::FilterType2, 56, 92, grey(107), ParameterMenu::FilterType},
    {ParameterIndex::DistortionType, 446, 29, grey(56), ParameterMenu::Distortion},
    {ParameterIndex::Routing, 217, 59, grey(100), ParameterMenu::Routing},
    {ParameterIndex::DelayType, 537, 156, grey(36), ParameterMenu::DelayType},
    {ParameterIndex::EnvelopeDestination, 392, 218, grey(49), ParameterMenu::EnvelopeDestination},
    {ParameterIndex::Lfo1Destination, 275, 155, CColor{74, 75, 75, 255}, ParameterMenu::Lfo1Destination},
    {ParameterIndex::Lfo2Destination, 275, 213, grey(64), ParameterMenu::Lfo2Destination},
    {ParameterIndex::Lfo1Shape, 174, 155, grey(92), ParameterMenu::LfoShape},
    {ParameterIndex::Lfo2Shape, 174, 213, grey(78), ParameterMenu::LfoShape},
    {ParameterIndex::Lfo1Sync, 110, 155, grey(92), ParameterMenu::LfoSync},
    {ParameterIndex::Lfo2Sync, 110, 213, grey(78), ParameterMenu::LfoSync},
    {ParameterIndex::DelaySync, 537, 213, grey(33), ParameterMenu::DelaySync},
    {ParameterIndex::StepSync, 362, 272, grey(46), ParameterMenu::StepSync},
    {ParameterIndex::StepDestination, 528, 272, grey(30), ParameterMenu::StepDestination},
    {ParameterIndex::StepShape, 426, 272, grey(41), ParameterMenu::StepShape},
};

struct ButtonPlace {
  int32_t tag;
  long left;
  long top;
};

constexpr ButtonPlace syncRockerPlaces[] = {
    {EditorTag::Lfo1SyncRocker, 83, 143},
    {EditorTag::Lfo2SyncRocker, 83, 201},
    {EditorTag::StepSyncRocker, 333, 261},
    {EditorTag::DelaySyncRocker, 509, 203},
};

struct KickPlace {
  int32_t tag;
  long left;
  long top;
  long bitmapId;
};

constexpr KickPlace kickPlaces[] = {
    {EditorTag::Random, 436, 321, RandomBitmap},
    {EditorTag::Default, 402, 321, DefaultBitmap},
    {EditorTag::Copy, 333, 321, CopyBitmap},
    {EditorTag::Paste, 368, 321, PasteBitmap},
};

constexpr ButtonPlace presetPlaces[] = {
    {EditorTag::LoadProgram, 264, 322},
    {EditorTag::LoadBank, 264, 340},
    {EditorTag::SaveProgram, 299, 322},
    {EditorTag::SaveBank, 299, 340},
};

constexpr ButtonPlace programMenuPlace{EditorTag::ProgramMenu, 80, 331};
constexpr long programMenuWidth = 123;
constexpr long programMenuHeight = 13;
constexpr uint8_t programMenuGrey = 55;
constexpr ButtonPlace programRockerPlace{EditorTag::ProgramRocker, 50, 321};
const CRect splashArea(520, 312, 580, 372);
constexpr long scopeLeft = 280;
constexpr long scopeTop = 12;

// Lefts of the step keys and lights: the single-precision product truncated toward zero.
long stepLeft(long first, int32_t step, float spacing) {
  return first + static_cast<long>(static_cast<float>(step) * spacing);
}

uint8_t half(uint8_t component) {
  return static_cast<uint8_t>(component / 2);
}

uint8_t lighter(uint8_t component) {
  return static_cast<uint8_t>(component + 140);
}

}  // namespace

OmEditor::OmEditor(OmAudio* effect) : AEffGUIEditor(effect) {
  for (int32_t i = 0; i < bitmapCount; ++i) bitmaps[i] = new CBitmap(firstBitmapId + i);
  rect.top = 0;
  rect.left = 0;
  rect.bottom = static_cast<VstInt16>(bitmap(PanelBitmap)->getHeight());
  rect.right = static_cast<VstInt16>(bitmap(PanelBitmap)->getWidth());
}

OmEditor::~OmEditor() {
  close();  // a host that deletes the effect with its editor still open leaves no window behind
  for (CBitmap*& picture : bitmaps) {
    picture->forget();
    picture = nullptr;
  }
}

OmAudio& OmEditor::audio() const {
  return *static_cast<OmAudio*>(effect);
}

CControl* OmEditor::getParameterControl(int32_t tag) const {
  return tag >= 0 && tag < EditorTag::parameterControlCount ? parameterControls[tag] : nullptr;
}

bool OmEditor::open(void* parent) {
  editorThread = GetCurrentThreadId();
  CBitmap* panel = bitmap(PanelBitmap);
  const CRect whole(0, 0, panel->getWidth(), panel->getHeight());
  frame = new CFrame(whole, static_cast<HWND>(parent), this);
  frame->setMouseEnabled(true);
  frame->setMouseableArea(whole);
  systemWindow = parent;
  frame->setBackground(panel);

  CBitmap* scopePicture = bitmap(ScopeBitmap);
  scope = new CScope(
      CRect(scopeLeft, scopeTop, scopeLeft + scopePicture->getWidth(), scopeTop + scopePicture->getHeight()),
      scopePicture);
  frame->addView(scope);
  scope->setTipLine(1, "Version: v3.4");

  for (const ButtonPlace& place : syncRockerPlaces) addRocker(place.left, place.top, place.tag);
  for (int32_t i = 0; i < ParameterIndex::stepCount; ++i) {
    const int32_t tag = ParameterIndex::Step1 + i;
    parameterControls[tag] = addStepButton(stepLeft(59, i, 15.85f), stepTop, tag, 0.0f);
  }
  for (int32_t i = 0; i < ParameterIndex::stepCount; ++i) {
    stepLeds[i] = addIndicator(stepLeft(62, i, 15.8f), stepLedTop, 1.0f);
  }
  lfoLeds[0] = addIndicator(338, 155, 0.0f);
  lfoLeds[1] = addIndicator(338, 214, 0.0f);
  for (CMovieBitmap* led : stepLeds) led->setValue(randomInRange(0.0f, 1.0f));
  for (CMovieBitmap* led : lfoLeds) led->setValue(0.0f);

  for (const KnobPlace& place : knobPlaces) {
    parameterControls[place.tag] =
        place.big ? addKnob(place.left, place.top, place.tag, bigKnobSize, BigHandleBitmap)
                  : addKnob(place.left, place.top, place.tag, smallKnobSize, SmallHandleBitmap);
  }
  for (const MenuPlace& place : menuPlaces) {
    std::vector<const char*> texts;
    for (int32_t k = 0; k < menuEntryCount(place.menu); ++k) texts.push_back(menuEntryText(place.menu, k));
    parameterControls[place.tag] = addOptionMenu(place.left, place.top, menuWidth, menuHeight, place.grey,
                                                 texts.data(), static_cast<int32_t>(texts.size()), place.tag);
  }
  for (const KickPlace& place : kickPlaces) addKickButton(place.left, place.top, place.tag, place.bitmapId);

  std::vector<const char*> names;
  for (int32_t program = 0; program < programCount; ++program)
    names.push_back(audio().programs[program].name);
  programMenu =
      addOptionMenu(programMenuPlace.left, programMenuPlace.top, programMenuWidth, programMenuHeight,
                    grey(programMenuGrey), names.data(), programCount, programMenuPlace.tag);
  addRocker(programRockerPlace.left, programRockerPlace.top, programRockerPlace.tag);
  for (const ButtonPlace& place : presetPlaces) addPresetButton(place.left, place.top, place.tag);

  CBitmap* splash = bitmap(SplashBitmap);
  splashScreen = new CSplashScreen(splashArea, this, EditorTag::Splash, splash,
                                   CRect(0, 0, splash->getWidth(), splash->getHeight()), CPoint(0, 0));
  splashScreen->setBitmapTransparency(255);
  frame->addView(splashScreen);

  opened = true;
  splashShown = false;
  markedParameters = 0;
  for (int32_t index = 0; index < ParameterIndex::count; ++index)
    setParameter(index, effect->getParameter(index));
  setKnobMode(knobMode);
  return true;
}

void OmEditor::close() {
  if (!frame) return;
  editorThread = 0;
  opened = false;
  delete frame;
  frame = nullptr;
  for (COptionMenuScheme* scheme : menuSchemes) scheme->forget();
  menuSchemes.clear();
  std::fill(std::begin(parameterControls), std::end(parameterControls), nullptr);
  std::fill(std::begin(stepLeds), std::end(stepLeds), nullptr);
  std::fill(std::begin(lfoLeds), std::end(lfoLeds), nullptr);
  programMenu = nullptr;
  splashScreen = nullptr;
  scope = nullptr;
}

CControl* OmEditor::addKnob(long left, long top, int32_t tag, long size, long handleId) {
  auto* knob = new CKnob(CRect(left, top, left + size, top + size), this, tag, bitmap(PanelBitmap),
                         bitmap(handleId), CPoint(left, top));
  knob->setTransparency(true);
  knob->setInsetValue(knobInset);
  knob->setZoomFactor(knobZoom);
  knob->setValue(effect->getParameter(tag));
  frame->addView(knob);
  return knob;
}

COptionMenu* OmEditor::addOptionMenu(long left, long top, long width, long height, CColor base,
                                     const char* const* texts, int32_t count, int32_t tag) {
  auto* menu =
      new COptionMenu(CRect(left, top, left + width, top + height), this, tag, nullptr, nullptr, menuStyle);
  const CColor text{lighter(base.red), lighter(base.green), lighter(base.blue), 255};
  const CColor dark{half(base.red), half(base.green), half(base.blue), 255};
  menu->setFont(kNormalFontSmaller);
  menu->setFontColor(text);
  menu->setShadowColor(dark);
  menu->setBackColor(base);
  menu->setFrameColor(base);

  auto* scheme = new COptionMenuScheme();
  scheme->setColors(base, dark, text, kWhiteCColor, dark);
  menu->setScheme(scheme);
  menuSchemes.push_back(scheme);

  menu->setNbItemsPerColumn(menuColumnLength);
  for (int32_t i = 0; i < count; ++i) {
    char entry[menuTextCapacity] = {};
    std::snprintf(entry, entrySlot, "%s", texts[i]);
    menu->addEntry(entry, -1);
  }
  frame->addView(menu);
  return menu;
}

CMovieBitmap* OmEditor::addIndicator(long left, long top, float value) {
  CBitmap* lights = bitmap(LedBitmap);
  auto* led = new CMovieBitmap(CRect(left, top, left + lights->getWidth(), top + indicatorHeight), this, 0,
                               indicatorImages, indicatorImageHeight, lights, CPoint(0, 0));
  lights->setTransparentColor(kGreenCColor);
  led->setTransparency(true);
  led->setValue(value);
  frame->addView(led);
  return led;
}

void OmEditor::addRocker(long left, long top, int32_t tag) {
  CBitmap* strip = bitmap(RockerBitmap);
  const long imageHeight = strip->getHeight() / rockerImages;
  auto* rocker = new CRockerSwitch(CRect(left, top, left + strip->getWidth(), top + imageHeight), this, tag,
                                   imageHeight, strip, CPoint(0, 0), verticalRocker);
  strip->setTransparentColor(kGreenCColor);
  rocker->setTransparency(true);
  frame->addView(rocker);
}

CControl* OmEditor::addStepButton(long left, long top, int32_t tag, float value) {
  CBitmap* keys = bitmap(StepBitmap);
  auto* button = new COnOffButton(CRect(left, top, left + keys->getWidth(), top + keys->getHeight() / 2),
                                  this, tag, keys, kPostListenerUpdate);
  keys->setTransparentColor(kBlackCColor);
  button->setTransparency(true);
  button->setValue(value);
  frame->addView(button);
  return button;
}

void OmEditor::addKickButton(long left, long top, int32_t tag, long bitmapId) {
  CBitmap* picture = bitmap(bitmapId);
  frame->addView(new CKickButton(CRect(left, top, left + picture->getWidth(), top + picture->getHeight() / 2),
                                 this, tag, kickImageHeight, picture, CPoint(0, 0)));
}

void OmEditor::addPresetButton(long left, long top, int32_t tag) {
  auto* button = new CKickButton(CRect(left, top, left + presetButtonWidth, top + presetButtonHeight), this,
                                 tag, 0, bitmap(PanelBitmap), CPoint(left, top));
  button->setTransparency(true);
  frame->addView(button);
}
