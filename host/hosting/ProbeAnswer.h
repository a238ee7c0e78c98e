#pragma once

#include <string>
#include <vector>

namespace Ombix::Kelvane {

// The probe program's side of the connection: connects to the scanner on the loopback address and
// port, sends the pieces one after another, then waits (at most a few seconds) until the scanner has
// taken them and closed the connection, so the answer is in before the probe program ends.
// False when no connection was made or sending failed.
bool SendProbeAnswer(unsigned short port, const std::vector<std::string>& pieces);

}  // namespace Ombix::Kelvane
