#pragma once

#include <cstdint>
#include <string>

namespace Ombix::Kelvane {

constexpr std::uint16_t kMachineI386 = 0x14C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMachineIa64 = 0x200;

// The processor a PE image (an exe or DLL) is built for, from its file header; 0 when the file
// cannot be read or is no PE image.
std::uint16_t PeMachine(const std::string& path);

// True only for AMD64 (x64) images: an IA-64 image is 64-bit too, but no x64 host can load it.
bool Is64BitMachine(std::uint16_t machine);

}  // namespace Ombix::Kelvane
