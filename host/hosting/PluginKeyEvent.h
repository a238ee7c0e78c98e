#pragma once

namespace Ombix::Kelvane {

// A key event for a plug-in's editor, built by the user interface.
struct PluginKeyEvent {
  int character;  // the platform's raw key code (Windows virtual-key code)
  int keyCode;    // a host key code (1024..1131) for non-character keys, else the toolkit's code
  int modifiers;  // 1 Shift, 2 Alt, 8 Control
};

}  // namespace Ombix::Kelvane
