#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "TestPaths.h"
#include "host/hosting/PeMachine.h"

namespace Ombix::Kelvane {
namespace {

// A file that starts like a PE image: the header offset at byte 60, there the signature and machine.
std::string ImageBytes(std::uint32_t headerOffset, const std::string& signature, std::uint16_t machine) {
  std::string bytes(headerOffset, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  for (int i = 0; i < 4; ++i) bytes[60 + i] = static_cast<char>(headerOffset >> (8 * i));
  bytes += signature;
  bytes += static_cast<char>(machine & 0xFF);
  bytes += static_cast<char>(machine >> 8);
  bytes += std::string(32, '\0');
  return bytes;
}

struct MachineCase {
  const char* name;
  std::string bytes;
  std::uint16_t machine;
};

class PeMachineOfFile : public testing::TestWithParam<MachineCase> {};

TEST_P(PeMachineOfFile, IsReadFromTheFileHeader) {
  const std::string path = Testing::makeTempFolder("pe-machine") + "file.dll";
  std::ofstream(path, std::ios::binary) << GetParam().bytes;
  EXPECT_EQ(PeMachine(path), GetParam().machine);
}

const std::string kPe("PE\0\0", 4);

INSTANTIATE_TEST_SUITE_P(
    Files, PeMachineOfFile,
    testing::Values(MachineCase{"x64", ImageBytes(128, kPe, 0x8664), 0x8664},
                    MachineCase{"i386", ImageBytes(64, kPe, 0x14C), 0x14C},
                    MachineCase{"ia64", ImageBytes(256, kPe, 0x200), 0x200},
                    MachineCase{"wrongSignature", ImageBytes(128, std::string("PE\0\1", 4), 0x8664), 0},
                    MachineCase{"newExecutable", ImageBytes(128, std::string("NE\0\0", 4), 0x8664), 0},
                    MachineCase{"offsetBeyondTheEnd", ImageBytes(128, kPe, 0x8664).substr(0, 130), 0},
                    MachineCase{"offsetFarAway", std::string(60, 'x') + "\xFF\xFF\xFF\x7F" + kPe, 0},
                    MachineCase{"tooShortForTheOffset", std::string(62, 'x'), 0},
                    MachineCase{"text", "This is a text file, not a library.\n", 0},
                    MachineCase{"empty", "", 0}),
    [](const testing::TestParamInfo<MachineCase>& info) { return std::string(info.param.name); });

TEST(PeMachine, OfThisHostsOwnDllAndOfAMissingFile) {
  EXPECT_EQ(PeMachine(Testing::binaryFolder() + "recording_plugin.dll"), kMachineAmd64);
  EXPECT_EQ(PeMachine(Testing::binaryFolder() + "no such file.dll"), 0);
}

TEST(PeMachine, OnlyAmd64IsRecordedAsX64) {
  EXPECT_TRUE(Is64BitMachine(kMachineAmd64));
  EXPECT_FALSE(Is64BitMachine(kMachineIa64));
  EXPECT_FALSE(Is64BitMachine(kMachineI386));
  EXPECT_FALSE(Is64BitMachine(0));
}

}  // namespace
}  // namespace Ombix::Kelvane
