#include "plugin/engine/EditorHooks.h"

namespace {

EditorHooks installedHooks;

}  // namespace

void installEditorHooks(const EditorHooks& hooks) {
  installedHooks = hooks;
}

const EditorHooks& editorHooks() {
  return installedHooks;
}
