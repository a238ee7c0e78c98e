#include "host/drivers/AudioSystems.h"

#include "host/drivers/ASIODriver.h"
#include "host/drivers/DirectSoundDriver.h"

namespace Ombix::Kelvane {

std::string AudioSystemName(int index) {
  switch (index) {
    case 0:
      return "ASIO";
    case 1:
      return "DirectSound";
    default:
      return "";
  }
}

IAudioDriver* CreateAudioDriver(HWND window, IAudioHandler* handler, int index) {
  switch (index) {
    case 0:
      return new ASIODriver(window, handler);
    case 1:
      return new DirectSoundDriver(window, handler);
    default:
      return nullptr;
  }
}

}  // namespace Ombix::Kelvane
