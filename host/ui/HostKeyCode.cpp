#include "host/ui/HostKeyCode.h"

namespace Ombix::Kelvane {

namespace {

// Ranges of toolkit key codes that map onto host codes by a fixed offset.
struct KeyRange {
  int first;
  int last;
  int offset;
};

constexpr KeyRange namedKeys[] = {
    {300, 339, 730},  // start, mouse buttons, modifiers, cursor keys, ..., numeric pad digits
    {340, 367, 731},  // F1 to F24, num lock, scroll lock, page up, page down
    {368, 381, 733},  // numeric pad space to numeric pad page down
    {382, 396, 735},  // numeric pad end to the Windows keys
};

}  // namespace

int ToHostKeyCode(int toolkitKeyCode) {
  switch (toolkitKeyCode) {
    case 8:
      return HostKeyBack;
    case 9:
      return HostKeyTab;
    case 13:
      return HostKeyReturn;
    case 27:
      return HostKeyEscape;
    case 32:
      return HostKeySpace;
    case 127:
      return HostKeyDelete;
    default:
      break;
  }
  for (const KeyRange& range : namedKeys) {
    if (toolkitKeyCode >= range.first && toolkitKeyCode <= range.last) {
      return toolkitKeyCode + range.offset;
    }
  }
  return toolkitKeyCode;
}

}  // namespace Ombix::Kelvane
