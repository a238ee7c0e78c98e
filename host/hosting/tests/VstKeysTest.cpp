#include <gtest/gtest.h>

#include "host/hosting/VstKeys.h"

namespace Ombix::Kelvane {
namespace {

struct KeyCase {
  int hostCode;
  int vstKey;
};

class VstKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(VstKeys, MapsHostCodeToVirtualKey) {
  EXPECT_EQ(ToVstVirtualKey(GetParam().hostCode), GetParam().vstKey);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VstKeys,
    testing::Values(
        KeyCase{1024, 1}, KeyCase{1025, 2}, KeyCase{1102, 2}, KeyCase{1035, 3}, KeyCase{1026, 4},
        KeyCase{1040, 5}, KeyCase{1027, 6}, KeyCase{1028, 7}, KeyCase{1101, 7}, KeyCase{1100, 8},
        KeyCase{1116, 8}, KeyCase{1042, 9}, KeyCase{1117, 9}, KeyCase{1043, 10}, KeyCase{1108, 10},
        KeyCase{1044, 11}, KeyCase{1109, 11}, KeyCase{1045, 12}, KeyCase{1110, 12}, KeyCase{1046, 13},
        KeyCase{1111, 13}, KeyCase{1047, 14}, KeyCase{1112, 14}, KeyCase{1097, 15}, KeyCase{1113, 15},
        KeyCase{1098, 16}, KeyCase{1114, 16}, KeyCase{1048, 17}, KeyCase{1049, 18}, KeyCase{1103, 19},
        KeyCase{1051, 20}, KeyCase{1052, 21}, KeyCase{1119, 21}, KeyCase{1029, 22}, KeyCase{1120, 22},
        KeyCase{1053, 23}, KeyCase{1054, 24}, KeyCase{1063, 33}, KeyCase{1064, 34}, KeyCase{1122, 34},
        KeyCase{1065, 35}, KeyCase{1123, 35}, KeyCase{1066, 36}, KeyCase{1124, 36}, KeyCase{1067, 37},
        KeyCase{1125, 37}, KeyCase{1068, 38}, KeyCase{1126, 38}, KeyCase{1069, 39}, KeyCase{1127, 39},
        KeyCase{1071, 40}, KeyCase{1104, 40}, KeyCase{1074, 43}, KeyCase{1107, 43}, KeyCase{1075, 44},
        KeyCase{1082, 51}, KeyCase{1095, 52}, KeyCase{1096, 53}, KeyCase{1036, 54}, KeyCase{1038, 55},
        KeyCase{1037, 56}, KeyCase{1070, 57}, KeyCase{1121, 57}));

INSTANTIATE_TEST_SUITE_P(NoVirtualKey, VstKeys,
                         testing::Values(KeyCase{1030, 0}, KeyCase{1034, 0}, KeyCase{1039, 0},
                                         KeyCase{1041, 0}, KeyCase{1050, 0}, KeyCase{1083, 0},
                                         KeyCase{1094, 0}, KeyCase{1099, 0}, KeyCase{1115, 0},
                                         KeyCase{1118, 0}, KeyCase{1128, 0}, KeyCase{1131, 0},
                                         KeyCase{1023, 0}, KeyCase{65, 0}, KeyCase{0, 0}, KeyCase{-1, 0},
                                         KeyCase{5000, 0}));

TEST(VstKeysCoverage, EveryVirtualKeyIsReachable) {
  bool reached[58] = {};
  for (int code = 1024; code <= 1131; ++code) {
    const int key = ToVstVirtualKey(code);
    ASSERT_GE(key, 0);
    ASSERT_LE(key, 57);
    reached[key] = true;
  }
  for (int key = 1; key <= 57; ++key) EXPECT_TRUE(reached[key]) << "virtual key " << key;
}

}  // namespace
}  // namespace Ombix::Kelvane
