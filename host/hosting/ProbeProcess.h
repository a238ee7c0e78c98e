#pragma once

#include <windows.h>

#include <string>

namespace Ombix::Kelvane {

// A probe program started hidden for one plug-in. Owns the process handle; never waits on its own.
class ProbeProcess {
 public:
  // Starts program with the parameters through the shell, waiting until the start is complete.
  ProbeProcess(const std::string& program, const std::string& parameters);
  ProbeProcess(const ProbeProcess&) = delete;
  ProbeProcess& operator=(const ProbeProcess&) = delete;
  ~ProbeProcess();

  // False when the program could not be started; the other operations then do nothing.
  bool Started() const { return process_ != nullptr; }
  // True when the process has ended, at the latest after milliseconds.
  bool WaitForEnd(DWORD milliseconds);
  // Posts WM_CLOSE to every top-level window of the process (posted: a hung window cannot block
  // the caller).
  void CloseWindows();
  // Ends the process with exit code 0 and waits a little for it to be gone.
  void Terminate();

 private:
  HANDLE process_;
};

}  // namespace Ombix::Kelvane
