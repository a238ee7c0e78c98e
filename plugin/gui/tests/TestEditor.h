#pragma once

#include "plugin/framework/AudioEffectExtended.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/gui/AEffGUIEditor.h"
#include "plugin/gui/CFrame.h"

#include <functional>
#include <string>
#include <vector>

namespace GuiTest {

// One call of the host callback.
struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  std::string text;
};

// The host side of the editor tests: records every call and answers as configured. One at a time.
class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt);
  int count(VstInt32 opcode) const;

  std::vector<HostCall> calls;
  bool canSizeWindow = false;
  bool acceptsSize = false;
  std::function<void()> onIdle;
};

// An effect with no sound whose editor the tests drive.
class TestEffect : public AudioEffectX {
 public:
  explicit TestEffect(audioMasterCallback host) : AudioEffectX(host, 1, 4) {}
  void processReplacing(float**, float**, VstInt32) override {}
};

// An editor that makes its frame in the parent window handed to open.
class TestEditor : public AEffGUIEditor {
 public:
  TestEditor(AudioEffect* effect, long width = 200, long height = 100) : AEffGUIEditor(effect) {
    rect = ERect{0, 0, static_cast<VstInt16>(height), static_cast<VstInt16>(width)};
  }
  bool open(void* ptr) override {
    AEffGUIEditor::open(ptr);
    frame = new Gui::CFrame(Gui::CRect(0, 0, rect.right, rect.bottom), static_cast<HWND>(ptr), this);
    return true;
  }
  void close() override {
    delete frame;
    frame = nullptr;
    AEffGUIEditor::close();
  }
  void idle() override {
    ++idles;
    AEffGUIEditor::idle();
  }
  // The tick count from which the next paced idle runs without waiting.
  void setNextIdleTick(unsigned long ticks) { lastTicks = ticks; }
  int idles = 0;
};

}  // namespace GuiTest
