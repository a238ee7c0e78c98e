#include "host/hosting/VstKeys.h"

#include <array>

namespace Ombix::Kelvane {

namespace {

constexpr int kFirstHostCode = 1024;
constexpr int kLastHostCode = 1127;

struct KeyRange {
  int firstHostCode;
  int lastHostCode;
  int firstVstKey;
};

// Host key codes, in ranges, with the VST virtual key of each range's first code.
constexpr KeyRange kKeyRanges[] = {
    {1024, 1024, 1},   // back
    {1025, 1025, 2},   // tab
    {1026, 1026, 4},   // return
    {1027, 1027, 6},   // escape
    {1028, 1028, 7},   // space
    {1029, 1029, 22},  // delete
    {1035, 1035, 3},   // clear
    {1036, 1036, 54},  // shift
    {1037, 1037, 56},  // alt
    {1038, 1038, 55},  // control
    {1040, 1040, 5},   // pause
    {1042, 1042, 9},   // end
    {1043, 1043, 10},  // home
    {1044, 1047, 11},  // left, up, right, down
    {1048, 1049, 17},  // select, print
    {1051, 1052, 20},  // snapshot, insert
    {1053, 1053, 23},  // help
    {1054, 1063, 24},  // numeric pad 0 to 9
    {1064, 1069, 34},  // multiply, add, separator, subtract, decimal, divide
    {1070, 1070, 57},  // equals
    {1071, 1074, 40},  // F1 to F4
    {1075, 1082, 44},  // F5 to F12
    {1095, 1095, 52},  // num lock
    {1096, 1096, 53},  // scroll lock
    {1097, 1098, 15},  // page up, page down
    {1100, 1100, 8},   // next
    {1101, 1101, 7},   // numeric pad space
    {1102, 1102, 2},   // numeric pad tab
    {1103, 1103, 19},  // numeric pad enter
    {1104, 1107, 40},  // numeric pad F1 to F4
    {1108, 1108, 10},  // numeric pad home
    {1109, 1112, 11},  // numeric pad left, up, right, down
    {1113, 1114, 15},  // numeric pad page up, page down
    {1116, 1116, 8},   // numeric pad next
    {1117, 1117, 9},   // numeric pad end
    {1119, 1119, 21},  // numeric pad insert
    {1120, 1120, 22},  // numeric pad delete
    {1121, 1121, 57},  // numeric pad equals
    {1122, 1127, 34},  // numeric pad multiply, add, separator, subtract, decimal, divide
};

using KeyTable = std::array<unsigned char, kLastHostCode - kFirstHostCode + 1>;

constexpr KeyTable makeKeyTable() {
  KeyTable table{};
  for (const KeyRange& range : kKeyRanges) {
    for (int code = range.firstHostCode; code <= range.lastHostCode; ++code) {
      table[code - kFirstHostCode] =
          static_cast<unsigned char>(range.firstVstKey + code - range.firstHostCode);
    }
  }
  return table;
}

constexpr KeyTable kKeyTable = makeKeyTable();

}  // namespace

int ToVstVirtualKey(int hostKeyCode) {
  if (hostKeyCode < kFirstHostCode || hostKeyCode > kLastHostCode) return 0;
  return kKeyTable[hostKeyCode - kFirstHostCode];
}

}  // namespace Ombix::Kelvane
