#pragma once

namespace Ombix::Kelvane {

// A mixer channel of the host; the channel signals of ILogic carry it.
class IChannel;

}  // namespace Ombix::Kelvane
