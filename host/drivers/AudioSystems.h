#pragma once

#include <windows.h>

#include <string>

#include "host/drivers/IAudioDriver.h"
#include "host/drivers/IAudioHandler.h"

namespace Ombix::Kelvane {

// The host's audio systems: 0 "ASIO", 1 "DirectSound".
std::string AudioSystemName(int index);

// A new driver of audio system index, owned by the caller; null for an unknown index.
IAudioDriver* CreateAudioDriver(HWND window, IAudioHandler* handler, int index);

}  // namespace Ombix::Kelvane
