#pragma once

#include "host/drivers/asio/AsioInterface.h"

namespace Ombix::Kelvane {

// Logs "<call> => " and the result's verdict ("OK!\n", "Not present!\n", ...) at the verdict's level;
// answers the result unchanged.
ASIOError LogAsioCall(const char* call, ASIOError result);

}  // namespace Ombix::Kelvane
