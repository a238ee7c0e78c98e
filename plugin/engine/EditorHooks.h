#pragma once

#include "plugin/framework/VstTypes.h"

class AEffEditor;
class OmAudio;

// The effect's editor lives in a layer above the sound engine, so the effect reaches it through these
// two functions, which the plug-in installs when its library loads. An effect made without them (as in
// the engine's own tests) has no editor.
struct EditorHooks {
  // Makes the editor of an effect; the editor hands itself to the effect through setEditor.
  void (*create)(OmAudio& effect) = nullptr;
  // Tells the effect's editor of a parameter change, on the thread that made it.
  void (*setParameter)(AEffEditor& editor, VstInt32 index, float value) = nullptr;
};

void installEditorHooks(const EditorHooks& hooks);
const EditorHooks& editorHooks();
