#include "host/ui/tests/WindowScript.h"

#include <dlgs.h>

namespace Testing {

namespace {

struct Search {
  std::string title;
  HWND owner;
  HWND found;
};

bool OwnVisibleWindow(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId() && IsWindowVisible(window);
}

BOOL CALLBACK FindByTitle(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (!OwnVisibleWindow(window)) return TRUE;
  char title[512] = {};
  GetWindowTextA(window, title, sizeof title);
  if (search->title != title) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindOwned(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (window == search->owner || !OwnVisibleWindow(window) || GetWindow(window, GW_OWNER) != search->owner)
    return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CancelEnabled(HWND window, LPARAM) {
  if (OwnVisibleWindow(window) && IsWindowEnabled(window)) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

template <typename Found>
bool Poll(int timeoutMs, Found found) {
  const DWORD start = GetTickCount();
  while (!found()) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

}  // namespace

WindowScript::WindowScript(std::function<void(WindowScript&)> steps)
    : thread_([this, steps] { steps(*this); }) {}

WindowScript::~WindowScript() {
  if (thread_.joinable()) thread_.join();
}

std::vector<std::string> WindowScript::Finish() {
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> hold(lock_);
  return failures_;
}

HWND WindowScript::WaitFor(const std::string& title, int timeoutMs) {
  Search search{title, nullptr, nullptr};
  if (!Poll(timeoutMs, [&] {
        EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      })) {
    Fail("no window \"" + title + "\" came");
    EnumWindows(CancelEnabled, 0);
    return nullptr;
  }
  return search.found;
}

bool WindowScript::WaitUntilGone(HWND window, int timeoutMs) {
  if (Poll(timeoutMs, [&] { return !IsWindow(window) || !IsWindowVisible(window); })) return true;
  Fail("a window stayed open");
  EnumWindows(CancelEnabled, 0);
  return false;
}

HWND WindowScript::OwnedWindow(HWND owner, int timeoutMs) {
  Search search{"", owner, nullptr};
  Poll(timeoutMs, [&] {
    EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  return search.found;
}

void WindowScript::CloseBox(HWND window) {
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void WindowScript::PressKey(HWND window, WORD key, bool alt) {
  // Keys come through the input queue, as typed, to the focus of the window's thread.
  SetForegroundWindow(GetAncestor(window, GA_ROOT));
  std::vector<INPUT> keys;
  const auto add = [&keys](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(input);
  };
  if (alt) add(VK_MENU, false);
  add(key, false);
  add(key, true);
  if (alt) add(VK_MENU, true);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

void WindowScript::PressButton(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void WindowScript::TypeFileName(HWND dialog, const std::string& name) {
  // The explorer-style dialog's file name field, else the old style's.
  HWND field = GetDlgItem(dialog, cmb13);
  if (field == nullptr) field = GetDlgItem(dialog, edt1);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void WindowScript::Fail(const std::string& what) {
  std::lock_guard<std::mutex> hold(lock_);
  failures_.push_back(what);
}

}  // namespace Testing
