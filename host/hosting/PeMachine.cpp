#include "host/hosting/PeMachine.h"

#include <fstream>

namespace Ombix::Kelvane {
namespace {

constexpr std::streamoff kHeaderOffsetPosition = 60;

// Little-endian, whatever the host's byte order.
template <typename Value>
bool Read(std::ifstream& file, Value& value) {
  unsigned char bytes[sizeof(Value)];
  if (!file.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return false;
  value = 0;
  for (size_t i = sizeof bytes; i-- > 0;) value = static_cast<Value>((value << 8) | bytes[i]);
  return true;
}

}  // namespace

std::uint16_t PeMachine(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::uint32_t headerOffset = 0;
  std::uint32_t signature = 0;
  std::uint16_t machine = 0;
  const std::uint32_t kSignature = 0x00004550;  // "PE" and two zero bytes
  if (!file.seekg(kHeaderOffsetPosition) || !Read(file, headerOffset)) return 0;
  if (!file.seekg(static_cast<std::streamoff>(headerOffset)) || !Read(file, signature)) return 0;
  if (signature != kSignature || !Read(file, machine)) return 0;
  return machine;
}

bool Is64BitMachine(std::uint16_t machine) {
  return machine == kMachineAmd64;
}

}  // namespace Ombix::Kelvane
