#include "plugin/framework/AEffEditor.h"

bool AEffEditor::getRect(ERect** rect) {
  *rect = nullptr;
  return false;
}

bool AEffEditor::open(void* ptr) {
  systemWindow = ptr;
  return false;
}
