#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "host/hosting/CrashGuard.h"

namespace Ombix::Kelvane {
namespace {

void AccessViolation() {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
}

TEST(CrashGuard, ANormalCallRunsAndAnswersZero) {
  int calls = 0;
  EXPECT_EQ(CrashGuard::Run([&] { ++calls; }), 0u);
  EXPECT_EQ(calls, 1);
}

TEST(CrashGuard, FaultsAnswerTheirCode) {
  EXPECT_EQ(CrashGuard::Run([] { AccessViolation(); }),
            static_cast<unsigned long>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_EQ(CrashGuard::Run([] { RaiseException(0xE0001234, 0, 0, nullptr); }), 0xE0001234);
  EXPECT_EQ(CrashGuard::Run([] { throw std::runtime_error("escaped"); }), CrashGuard::kCppException);
}

TEST(CrashGuard, GuardsNestAndKeepWorkingAfterAFault) {
  unsigned long inner = 0;
  int after = 0;
  EXPECT_EQ(CrashGuard::Run([&] {
              inner = CrashGuard::Run([] { AccessViolation(); });
              ++after;
            }),
            0u);
  EXPECT_EQ(inner, static_cast<unsigned long>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_EQ(after, 1);
  EXPECT_EQ(CrashGuard::Run([] { AccessViolation(); }),
            static_cast<unsigned long>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_EQ(CrashGuard::Run([] {}), 0u);
}

TEST(CrashGuard, ExceptionsHandledInsideTheCallNeverReachTheGuard) {
  int caught = 0;
  EXPECT_EQ(CrashGuard::Run([&] {
              try {
                throw std::runtime_error("handled");
              } catch (const std::exception&) {
                ++caught;
              }
            }),
            0u);
  EXPECT_EQ(caught, 1);
}

}  // namespace
}  // namespace Ombix::Kelvane
