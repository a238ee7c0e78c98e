#include "host/drivers/asio/AsioLog.h"

#include "common/logging/Logger.h"

namespace Ombix::Kelvane {

ASIOError LogAsioCall(const char* call, ASIOError result) {
  auto& log = Common::Logging::theLogger;
  log.Info("%s => ", call);
  switch (result) {
    case AsioResult::Ok:
      log.Info("OK!\n");
      break;
    case AsioResult::Success:
      log.Info("Success!\n");
      break;
    case AsioResult::NotPresent:
      log.Critical("Not present!\n");
      break;
    case AsioResult::HardwareMalfunction:
      log.Fatal("Hardware malfunction!\n");
      break;
    case AsioResult::InvalidParameter:
      log.Error("Invalid parameter!\n");
      break;
    case AsioResult::InvalidMode:
      log.Error("Invalid mode!\n");
      break;
    case AsioResult::SampleClockNotAdvancing:
      log.Error("ASE_SPNotAdvancing!\n");
      break;
    case AsioResult::NoClock:
      log.Error("No clock!\n");
      break;
    case AsioResult::NoMemory:
      log.Fatal("Out of memory!\n");
      break;
    default:
      break;
  }
  return result;
}

}  // namespace Ombix::Kelvane
