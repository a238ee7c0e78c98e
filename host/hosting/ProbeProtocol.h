#pragma once

namespace Ombix::Kelvane::ProbeProtocol {

// The scanner listens here for the probe program's answer.
constexpr const char* kAddress = "127.0.0.1";
constexpr unsigned short kPort = 2324;

// What a probe program sends when the plug-in it was given loaded and opened: these two bytes
// first on its connection.
constexpr char kSucceeded[] = {1, 3};

}  // namespace Ombix::Kelvane::ProbeProtocol
