#include "plugin/editor/OmEditor.h"
#include "plugin/engine/EditorHooks.h"
#include "plugin/engine/OmAudio.h"

// Part of the plug-in itself: when the library loads, every effect it makes gets an OmEditor.
namespace {

void createEditor(OmAudio& effect) {
  new OmEditor(&effect);  // hands itself to the effect, which owns it from then on
}

void tellEditor(AEffEditor& editor, VstInt32 index, float value) {
  static_cast<OmEditor&>(editor).setParameter(index, value);
}

struct Installation {
  Installation() { installEditorHooks(EditorHooks{&createEditor, &tellEditor}); }
} installation;

}  // namespace
