// The MIDI driver over a stand-in for WinMM's inputs, whose callbacks the tests fire themselves.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "host/drivers/midi/IMidiInput.h"
#include "host/drivers/midi/WinMidiDriver.h"
#include "host/drivers/tests/LogCapture.h"

using namespace Ombix::Kelvane;

namespace {

// MIDI input devices for the tests: remembers each open device's callback so that a test can send
// short messages through it, from any thread.
class FakeMidiInput : public IMidiInput {
 public:
  struct Device {
    std::string name;
    bool opens = true;
    bool starts = true;
    DWORD_PTR callback = 0;
    DWORD_PTR instance = 0;
    bool running = false;
    bool closed = false;
  };

  unsigned DeviceCount() override { return static_cast<unsigned>(devices.size()); }
  bool ProductName(unsigned device, std::string& name) override {
    if (devices[device].name.empty()) return false;
    name = devices[device].name;
    return true;
  }
  MMRESULT Open(HMIDIIN* handle, unsigned device, DWORD_PTR callback, DWORD_PTR instance) override {
    Device& d = devices[device];
    if (!d.opens) return MMSYSERR_ALLOCATED;
    d.callback = callback;
    d.instance = instance;
    *handle = reinterpret_cast<HMIDIIN>(static_cast<std::uintptr_t>(device + 1));
    return MMSYSERR_NOERROR;
  }
  MMRESULT Start(HMIDIIN handle) override {
    Device& d = Find(handle);
    if (!d.starts) return MMSYSERR_ERROR;
    d.running = true;
    return MMSYSERR_NOERROR;
  }
  MMRESULT Stop(HMIDIIN handle) override {
    Find(handle).running = false;
    return MMSYSERR_NOERROR;
  }
  MMRESULT Close(HMIDIIN handle) override {
    Find(handle).closed = true;
    return MMSYSERR_NOERROR;
  }

  // What WinMM does when device k receives a message.
  void Send(unsigned k, DWORD shortMessage, UINT kind = MIM_DATA) {
    const Device& d = devices[k];
    ASSERT_TRUE(d.running);
    reinterpret_cast<void(CALLBACK*)(HMIDIIN, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)>(d.callback)(
        nullptr, kind, d.instance, shortMessage, 0);
  }

  std::vector<Device> devices;

 private:
  Device& Find(HMIDIIN handle) { return devices[reinterpret_cast<std::uintptr_t>(handle) - 1]; }
};

std::vector<PackedMidiEvent> FetchAll(IMidiDriver& driver, int index) {
  int count = -1;
  PackedMidiEvent* events = nullptr;
  driver.Fetch(index, count, events);
  return count > 0 ? std::vector<PackedMidiEvent>(events, events + count) : std::vector<PackedMidiEvent>();
}

class MidiDriverTest : public ::testing::Test {
 protected:
  void Make(std::vector<std::string> names) {
    for (auto& name : names) input.devices.push_back({name});
    driver = std::make_unique<WinMidiDriver>(input);
  }

  LogCapture log;
  FakeMidiInput input;
  std::unique_ptr<WinMidiDriver> driver;
};

}  // namespace

TEST(PackedMidiEvent, PacksTheMessageBelowItsMicroseconds) {
  EXPECT_EQ(PackMidiEvent(0x643C90, 1500), 0x000005DC00643C90ull);
  EXPECT_EQ(PackMidiEvent(0xAB643C90, 0), 0x0000000000643C90ull);
}

TEST_F(MidiDriverTest, ListsAllNoneAndEveryInput) {
  Make({"Keys A", "Pads B"});
  EXPECT_EQ(driver->Capacity(), 256);
  ASSERT_EQ(driver->DeviceCount(), 4);
  EXPECT_EQ(driver->DeviceName(0), "All");
  EXPECT_EQ(driver->DeviceName(1), "None");
  EXPECT_EQ(driver->DeviceName(2), "Keys A");
  EXPECT_EQ(driver->DeviceName(3), "Pads B");
  EXPECT_EQ(driver->DeviceName(4), "");
  EXPECT_EQ(driver->DeviceName(-1), "");
  EXPECT_TRUE(input.devices[0].running);
  EXPECT_TRUE(input.devices[1].running);
}

TEST_F(MidiDriverTest, DevicesThatCannotOpenStayClosedAndSilent) {
  input.devices.push_back({"Busy", false});
  input.devices.push_back({"Broken", true, false});
  input.devices.push_back({""});
  driver = std::make_unique<WinMidiDriver>(input);
  EXPECT_EQ(input.devices[0].callback, 0u);
  EXPECT_TRUE(input.devices[1].closed);
  EXPECT_FALSE(input.devices[1].running);
  EXPECT_EQ(driver->DeviceName(4), "");
  EXPECT_TRUE(input.devices[2].running);
  EXPECT_EQ(log.Text(), "");
}

TEST_F(MidiDriverTest, PacksNotesWithTheirTimeSinceTheLastFetch) {
  Make({"Keys"});
  // The time since opening must not count: only the time since the device's last fetch.
  Sleep(1000);
  FetchAll(*driver, 2);
  Sleep(20);
  input.Send(0, 0x643C90);
  const auto events = FetchAll(*driver, 2);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0] & 0xFFFFFFFFull, 0x00643C90ull);
  const auto microseconds = events[0] >> 32;
  EXPECT_GE(microseconds, 19000u);
  EXPECT_LT(microseconds, 1000000u);
  EXPECT_EQ(FetchAll(*driver, 0), events) << "All receives it too";
}

TEST_F(MidiDriverTest, DropsEverythingButChannelMessages) {
  Make({"Keys"});
  input.Send(0, 0);
  input.Send(0, 0xFE);
  input.Send(0, 0xF8);
  input.Send(0, 0x643C90, MIM_LONGDATA);
  input.Send(0, 0x643C90, MIM_ERROR);
  input.Send(0, 0x7F07B0, MIM_MOREDATA);
  const auto events = FetchAll(*driver, 2);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0] & 0xFFFFFF, 0x7F07B0u);
  EXPECT_TRUE(FetchAll(*driver, 1).empty());
}

TEST_F(MidiDriverTest, The257thEventIsDroppedWithOneWarning) {
  Make({"Keys"});
  for (int i = 0; i < 257; ++i) input.Send(0, 0x400090 | (i % 128) << 8);
  EXPECT_EQ(log.Count("MIDI buffer overflow!"), 1);
  EXPECT_EQ(FetchAll(*driver, 2).size(), 256u);
  EXPECT_EQ(FetchAll(*driver, 0).size(), 256u);
  input.Send(0, 0x400090);
  EXPECT_EQ(FetchAll(*driver, 2).size(), 1u);
}

TEST_F(MidiDriverTest, FetchesAlternateBetweenTwoHalves) {
  Make({"Keys"});
  input.Send(0, 0x643C90);
  int count = 0;
  PackedMidiEvent* first = nullptr;
  driver->Fetch(2, count, first);
  ASSERT_EQ(count, 1);
  const PackedMidiEvent handedOver = first[0];
  input.Send(0, 0x003C80);
  PackedMidiEvent* second = nullptr;
  EXPECT_EQ(first[0], handedOver) << "the handed-over half stays untouched";
  driver->Fetch(2, count, second);
  ASSERT_EQ(count, 1);
  EXPECT_NE(first, second);
  EXPECT_EQ(second[0] & 0xFFFFFF, 0x003C80u);
  PackedMidiEvent* third = nullptr;
  driver->Fetch(2, count, third);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(third, first);
  driver->Fetch(2, count, third);
  EXPECT_EQ(count, 0);
  driver->Fetch(9, count, third);
  EXPECT_EQ(count, 0);
}

TEST_F(MidiDriverTest, AllHearsEveryDeviceAndNoneNothing) {
  Make({"Keys", "Pads"});
  input.Send(0, 0x643C90);
  input.Send(1, 0x503D91);
  EXPECT_EQ(FetchAll(*driver, 0).size(), 2u);
  EXPECT_EQ(FetchAll(*driver, 1).size(), 0u);
  EXPECT_EQ(FetchAll(*driver, 2).size(), 1u);
  EXPECT_EQ(FetchAll(*driver, 3).size(), 1u);
}

TEST_F(MidiDriverTest, EventsFromAnotherThreadAreNeitherLostNorStampedNegative) {
  Make({"Keys"});
  constexpr std::size_t sent = 2000;
  std::atomic<bool> finished{false};
  std::thread sender([&] {
    for (std::size_t i = 0; i < sent; ++i) {
      input.Send(0, 0x400090 | (i % 128) << 8);
      if (i % 8 == 0) Sleep(2);
    }
    finished = true;
  });
  std::size_t received = 0, receivedByAll = 0;
  bool negative = false;
  auto drain = [&] {
    for (PackedMidiEvent event : FetchAll(*driver, 2)) {
      ++received;
      negative |= (event >> 32) >= 0x80000000ull;
    }
    receivedByAll += FetchAll(*driver, 0).size();
  };
  while (!finished) {
    drain();
    Sleep(1);
  }
  sender.join();
  drain();
  EXPECT_EQ(log.Count("MIDI buffer overflow!"), 0);
  EXPECT_EQ(received, sent);
  EXPECT_EQ(receivedByAll, sent);
  EXPECT_FALSE(negative);
}

TEST_F(MidiDriverTest, ClosingAndDestroyingStopAndCloseTheDevices) {
  Make({"Keys", "Pads"});
  driver->SetDeviceOpen(3, false);
  EXPECT_TRUE(input.devices[1].closed);
  EXPECT_FALSE(input.devices[1].running);
  driver->SetDeviceOpen(0, false);
  driver->SetDeviceOpen(7, true);
  EXPECT_TRUE(input.devices[0].running);
  driver.reset();
  EXPECT_TRUE(input.devices[0].closed);
  EXPECT_FALSE(input.devices[0].running);
}
