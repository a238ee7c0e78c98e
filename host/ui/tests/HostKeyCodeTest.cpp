#include "host/ui/HostKeyCode.h"

#include <gtest/gtest.h>
#include <wx/defs.h>

namespace Ombix::Kelvane {
namespace {

struct KeyCase {
  int toolkitCode;
  int hostCode;
};

TEST(HostKeyCode, TranslatesTheToolkitsKeyCodes) {
  const KeyCase cases[] = {
      {WXK_BACK, 1024},
      {WXK_TAB, 1025},
      {WXK_RETURN, 1026},
      {WXK_ESCAPE, 1027},
      {WXK_SPACE, 1028},
      {WXK_DELETE, 1029},
      {WXK_START, 1030},
      {WXK_LBUTTON, 1031},
      {WXK_SHIFT, 1036},
      {WXK_LEFT, 1044},
      {WXK_DOWN, 1047},
      {WXK_INSERT, 1052},
      {WXK_NUMPAD0, 1054},
      {WXK_NUMPAD9, 1063},
      {WXK_DIVIDE, 1069},
      {WXK_F1, 1071},
      {WXK_F12, 1082},
      {WXK_F24, 1094},
      {WXK_NUMLOCK, 1095},
      {WXK_PAGEUP, 1097},
      {WXK_PAGEDOWN, 1098},
      {WXK_NUMPAD_SPACE, 1101},
      {WXK_NUMPAD_ENTER, 1103},
      {WXK_NUMPAD_PAGEDOWN, 1114},
      {WXK_NUMPAD_END, 1117},
      {WXK_NUMPAD_DELETE, 1120},
      {WXK_NUMPAD_DIVIDE, 1127},
      {WXK_WINDOWS_LEFT, 1128},
      {WXK_WINDOWS_MENU, 1130},
      {396, 1131},
      // Keys with a character, and codes outside the named keys, stay as they are.
      {'A', 'A'},
      {'z', 'z'},
      {'0', '0'},
      {'+', '+'},
      {0, 0},
      {299, 299},
      {397, 397},
      {WXK_BROWSER_BACK, WXK_BROWSER_BACK},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(c.hostCode, ToHostKeyCode(c.toolkitCode)) << "toolkit code " << c.toolkitCode;
  }
}

TEST(HostKeyCode, LeavesTheGapsOfTheHostsKeySetUnused) {
  for (int code = 0; code < 1000; ++code) {
    const int host = ToHostKeyCode(code);
    for (const int gap : {1070, 1099, 1100, 1115, 1116}) {
      EXPECT_NE(gap, host) << "toolkit code " << code;
    }
  }
}

}  // namespace
}  // namespace Ombix::Kelvane
