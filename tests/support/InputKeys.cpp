#include "InputKeys.h"

namespace Testing {

void sendKeys(const std::vector<WORD>& keys, bool down) {
  std::vector<INPUT> inputs(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys[i];
    inputs[i].ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace Testing
