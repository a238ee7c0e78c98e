#pragma once

#include "plugin/framework/ERect.h"
#include "plugin/framework/VstKeyCode.h"
#include "plugin/framework/VstTypes.h"

class AudioEffect;

// The plain editor base that the dispatcher's editor opcodes reach. A derived editor sets `effect`
// and registers itself with the effect's setEditor, which hands the effect its ownership.
class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect = nullptr) : effect(effect) {}
  virtual ~AEffEditor() = default;

  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;

  virtual AudioEffect* getEffect() { return effect; }
  // Hands out the editor's rectangle; the base has none.
  virtual bool getRect(ERect** rect);
  // Keeps the host's parent window; the base shows nothing and answers false.
  virtual bool open(void* ptr);
  virtual void close() { systemWindow = nullptr; }
  virtual bool isOpen() { return systemWindow != nullptr; }
  virtual void idle() {}
  virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
  virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
  virtual bool onWheel(float /*distance*/) { return false; }
  virtual bool setKnobMode(VstInt32 /*val*/) { return false; }

 protected:
  AudioEffect* effect;
  void* systemWindow = nullptr;  // the host's parent window while the editor is open
};
