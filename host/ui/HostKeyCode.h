#pragma once

namespace Ombix::Kelvane {

// The host's own codes for keys that have no character, 1024 to 1131. The plug-in side maps them
// to the plug-in's virtual keys.
enum HostKeyCode {
  HostKeyBack = 1024,
  HostKeyTab = 1025,
  HostKeyReturn = 1026,
  HostKeyEscape = 1027,
  HostKeySpace = 1028,
  HostKeyDelete = 1029,
  // 1030 to 1131: the toolkit's named keys from WXK_START on, in the toolkit's order, with gaps
  // at 1070, 1099, 1100, 1115 and 1116.
};

// The host key code of a toolkit key code; codes of keys with a character (letters, digits,
// punctuation) and codes the host has no name for come back unchanged.
int ToHostKeyCode(int toolkitKeyCode);

}  // namespace Ombix::Kelvane
