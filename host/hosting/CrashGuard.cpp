#include "host/hosting/CrashGuard.h"

#include <windows.h>

// The guard is one small function with a frame-based exception handler of its own: whatever exception
// reaches its frame unhandled is unwound back to it (RtlUnwindEx), and the function answers the
// exception's code. GCC's own C++ exceptions are let through to the try/catch around it, because
// GCC unwinds them itself.
extern "C" unsigned long crashGuardInvoke(void (*function)(void*), void* context);
extern "C" char crashGuardResume;

asm(R"(
    .text
    .globl  crashGuardInvoke
    .def    crashGuardInvoke; .scl 2; .type 32; .endef
    .seh_proc crashGuardInvoke
crashGuardInvoke:
    pushq   %rbp
    .seh_pushreg %rbp
    movq    %rsp, %rbp
    .seh_setframe %rbp, 0
    subq    $32, %rsp
    .seh_stackalloc 32
    .seh_endprologue
    .seh_handler crashGuardFrameHandler, @except
    movq    %rcx, %rax
    movq    %rdx, %rcx
    call    *%rax
    xorl    %eax, %eax
    .globl  crashGuardResume
crashGuardResume:
    nop
    leaq    0(%rbp), %rsp
    popq    %rbp
    ret
    .seh_endproc
)");

namespace {

// GCC raises its C++ exceptions with codes whose low three bytes spell "GCC".
bool IsGccException(DWORD code) {
  return (code & 0x00FFFFFF) == 0x00474343;
}

bool IsDebuggerEvent(DWORD code) {
  return code == EXCEPTION_BREAKPOINT || code == EXCEPTION_SINGLE_STEP;
}

}  // namespace

extern "C" EXCEPTION_DISPOSITION crashGuardFrameHandler(EXCEPTION_RECORD* record, void* establisherFrame,
                                                        CONTEXT* context, DISPATCHER_CONTEXT* dispatcher) {
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  if (IsGccException(record->ExceptionCode) || IsDebuggerEvent(record->ExceptionCode)) {
    return ExceptionContinueSearch;
  }
  RtlUnwindEx(establisherFrame, &crashGuardResume, record,
              reinterpret_cast<void*>(static_cast<ULONG_PTR>(record->ExceptionCode)), context,
              dispatcher->HistoryTable);
  return ExceptionContinueSearch;  // not reached: the unwind resumes in the guard
}

namespace Ombix::Kelvane {

unsigned long CrashGuard::RunFunction(Function function, void* context) {
  try {
    return crashGuardInvoke(function, context);
  } catch (...) {
    return kCppException;
  }
}

}  // namespace Ombix::Kelvane
