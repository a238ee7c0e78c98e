#include <gtest/gtest.h>

#include <memory>

#include "host/drivers/ASIODriver.h"
#include "host/drivers/AudioSystems.h"
#include "host/drivers/DirectSoundDriver.h"

using namespace Ombix::Kelvane;

TEST(AudioSystems, NamesTheTwoSystems) {
  EXPECT_EQ(AudioSystemName(0), "ASIO");
  EXPECT_EQ(AudioSystemName(1), "DirectSound");
  EXPECT_EQ(AudioSystemName(2), "");
  EXPECT_EQ(AudioSystemName(-1), "");
}

TEST(AudioSystems, CreatesTheDriverOfEachSystem) {
  std::unique_ptr<IAudioDriver> asio(CreateAudioDriver(nullptr, nullptr, 0));
  std::unique_ptr<IAudioDriver> directSound(CreateAudioDriver(nullptr, nullptr, 1));
  EXPECT_NE(dynamic_cast<ASIODriver*>(asio.get()), nullptr);
  EXPECT_NE(dynamic_cast<DirectSoundDriver*>(directSound.get()), nullptr);
  EXPECT_EQ(CreateAudioDriver(nullptr, nullptr, 2), nullptr);
  for (IAudioDriver* driver : {asio.get(), directSound.get()}) {
    EXPECT_EQ(driver->FinishBlock(), 0.0f);
    EXPECT_FALSE(driver->IsRunning());
    EXPECT_FALSE(driver->IsStopPending());
    EXPECT_EQ(driver->OutputBuffer(0), nullptr);
  }
}
