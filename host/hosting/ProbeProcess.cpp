#include "host/hosting/ProbeProcess.h"

#include <shellapi.h>

namespace Ombix::Kelvane {
namespace {

constexpr DWORD kTerminateWaitMs = 5000;

struct WindowSearch {
  DWORD processId;
};

BOOL CALLBACK CloseWindowOfProcess(HWND window, LPARAM context) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == reinterpret_cast<const WindowSearch*>(context)->processId)
    PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

ProbeProcess::ProbeProcess(const std::string& program, const std::string& parameters) : process_(nullptr) {
  SHELLEXECUTEINFOA start = {};
  start.cbSize = sizeof start;
  // No error dialog when the program cannot be started: nobody waits in front of a scan.
  start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  start.lpVerb = "open";
  start.lpFile = program.c_str();
  start.lpParameters = parameters.c_str();
  start.lpDirectory = "";
  start.nShow = SW_HIDE;
  if (ShellExecuteExA(&start)) process_ = start.hProcess;
}

ProbeProcess::~ProbeProcess() {
  if (process_) CloseHandle(process_);
}

bool ProbeProcess::WaitForEnd(DWORD milliseconds) {
  return !process_ || WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

void ProbeProcess::CloseWindows() {
  if (!process_) return;
  WindowSearch search{GetProcessId(process_)};
  EnumWindows(&CloseWindowOfProcess, reinterpret_cast<LPARAM>(&search));
}

void ProbeProcess::Terminate() {
  if (!process_) return;
  TerminateProcess(process_, 0);
  WaitForSingleObject(process_, kTerminateWaitMs);
}

}  // namespace Ombix::Kelvane
