#pragma once

#include <type_traits>

namespace Ombix::Kelvane {

// Runs a call into plug-in code so that a fault inside it (an access violation, a division by zero, an
// illegal instruction, a C++ exception that escapes the plug-in) returns here instead of ending the
// host. The frames of the failed call are unwound and abandoned; the plug-in is not to be trusted
// afterwards.
class CrashGuard {
 public:
  // Code reported for a C++ exception that escaped the guarded call.
  static constexpr unsigned long kCppException = 0xE0435050;

  // Runs call(); answers 0 when it returned normally, else the code of the exception that ended it.
  template <typename Call>
  static unsigned long Run(Call&& call) {
    return RunFunction(&Invoke<std::remove_reference_t<Call>>, &call);
  }

 private:
  using Function = void (*)(void* context);

  template <typename Call>
  static void Invoke(void* context) {
    (*static_cast<Call*>(context))();
  }

  static unsigned long RunFunction(Function function, void* context);
};

}  // namespace Ombix::Kelvane
