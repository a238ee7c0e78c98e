#include "plugin/gui/AEffGUIEditor.h"

#include "plugin/framework/AudioEffectExtended.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/TickCount.h"

#include <windows.h>

VstInt32 AEffGUIEditor::knobMode = 0;

namespace {
constexpr unsigned long kIdleInterval = 16;  // ms between paced idle runs
constexpr unsigned long kIdleSleep = 4;      // ms slept when a run comes early
constexpr unsigned long kIdleSlack = 12;     // ms too early even after the sleep
}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect), lastTicks(GetTickCount()) {
  if (effect) effect->setEditor(this);
}

AEffGUIEditor::~AEffGUIEditor() = default;

bool AEffGUIEditor::getRect(ERect** outRect) {
  *outRect = &rect;
  return true;
}

void AEffGUIEditor::idle() {
  if (!inIdleStuff && frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
  return frame && frame->onKeyDown(keyCode) == 1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
  return frame && frame->onKeyUp(keyCode) == 1;
}

bool AEffGUIEditor::onWheel(float distance) {
  if (!frame) return false;
  Gui::CDrawContext context(frame, nullptr, static_cast<HWND>(systemWindow));
  Gui::CPoint where;
  context.getMouseLocation(where);
  return frame->onWheel(&context, where, distance);
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
  knobMode = mode;
  return true;
}

void AEffGUIEditor::beginEdit(VstInt32 index) {
  if (auto* extended = dynamic_cast<AudioEffectX*>(effect)) extended->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index) {
  if (auto* extended = dynamic_cast<AudioEffectX*>(effect)) extended->endEdit(index);
}

void AEffGUIEditor::doIdleStuff() {
  unsigned long ticks = GetTickCount();
  if (!Gui::tickReached(ticks, lastTicks)) {
    Sleep(kIdleSleep);
    ticks += kIdleSleep;
    if (!Gui::tickReached(ticks + kIdleSlack, lastTicks)) return;
  }
  idle();
  MSG message;
  if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
  inIdleStuff = true;
  lastTicks = ticks + kIdleInterval;
  if (effect) effect->masterIdle();
  inIdleStuff = false;
}

unsigned long AEffGUIEditor::getTicks() const {
  return GetTickCount();
}
