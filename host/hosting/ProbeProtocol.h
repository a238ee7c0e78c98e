#pragma once

namespace Ombix::Kelvane::ProbeProtocol {

// The scanner listens here for the probe program's answer.
constexpr const char* kAddress = "127.0.0.1";
constexpr unsigned short kPort = 2324;

// What a probe program sends when the plug-in it was given loaded and opened: these two bytes
// first on its connection.
constexpr char kSucceeded[] = {1, 3};

// What the scanner itself sends on a connection of its own before each probe program starts: once
// the server has taken it, every connection made earlier has been accepted, so only clients
// accepted later can answer for the new probe.
constexpr char kFence[] = {127, 127};

}  // namespace Ombix::Kelvane::ProbeProtocol
