#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "plugin/engine/ControllerSettings.h"
#include "tests/support/TestPaths.h"

namespace {

using Bytes = std::vector<unsigned char>;

class ControllerSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = Testing::makeTempFolder("controller-settings");
    path = folder + "zintara.cfg";
    setDefaultControllerMap(map);
  }

  void writeBytes(const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  Bytes readBytes() {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  std::string folder;
  std::string path;
  int32_t settingByte = defaultSettingByte;
  int32_t map[controllerCount];
};

TEST_F(ControllerSettingsTest, DefaultMapAssignsTheDocumentedControllers) {
  struct Case {
    int32_t controller;
    int32_t parameter;
  };
  const Case cases[] = {{0, 2},    {1, 1},    {2, -1},   {7, 9},    {13, -1},  {14, 0},  {31, 17},
                        {32, -1},  {71, 2},   {74, 1},   {84, -1},  {85, 18},  {95, 28}, {96, -1},
                        {101, -1}, {102, 29}, {117, 44}, {120, 47}, {121, -1}, {127, -1}};
  for (const Case& c : cases) EXPECT_EQ(map[c.controller], c.parameter) << "controller " << c.controller;
}

TEST_F(ControllerSettingsTest, WrittenFileReadsBackExactly) {
  map[20] = 5;
  map[74] = unassignedController;
  map[3] = 47;
  ASSERT_TRUE(writeSettingsFile(path, 7, map));

  const Bytes bytes = readBytes();
  ASSERT_EQ(bytes.size(), 129u);
  EXPECT_EQ(bytes[0], 7);
  EXPECT_EQ(bytes[1 + 20], 5);
  EXPECT_EQ(bytes[1 + 74], 0xFF);
  EXPECT_EQ(bytes[1 + 3], 47);

  int32_t readMap[controllerCount] = {};
  int32_t readSetting = 0;
  ASSERT_TRUE(readSettingsFile(path, readSetting, readMap));
  EXPECT_EQ(readSetting, 7);
  for (int32_t controller = 0; controller < controllerCount; ++controller) {
    EXPECT_EQ(readMap[controller], map[controller]) << "controller " << controller;
  }
}

TEST_F(ControllerSettingsTest, EntriesNamingNoParameterAreWrittenAndReadAsUnassigned) {
  map[10] = 48;
  map[11] = -7;
  ASSERT_TRUE(writeSettingsFile(path, 0x1FF, map));
  const Bytes bytes = readBytes();
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1 + 10], 0xFF);
  EXPECT_EQ(bytes[1 + 11], 0xFF);

  Bytes file(129, 0xFF);
  file[0] = 3;
  file[1 + 5] = 48;
  file[1 + 6] = 0x80;
  file[1 + 7] = 0;
  file[1 + 8] = 47;
  writeBytes(file);
  ASSERT_TRUE(readSettingsFile(path, settingByte, map));
  EXPECT_EQ(settingByte, 3);
  EXPECT_EQ(map[5], unassignedController);
  EXPECT_EQ(map[6], unassignedController);
  EXPECT_EQ(map[7], 0);
  EXPECT_EQ(map[8], 47);
  EXPECT_EQ(map[9], unassignedController);
}

TEST_F(ControllerSettingsTest, MissingOrShortFileLeavesTheMapAlone) {
  for (const size_t size : {size_t{0}, size_t{1}, size_t{128}}) {
    int32_t before[controllerCount];
    std::copy(map, map + controllerCount, before);
    if (size > 0) writeBytes(Bytes(size, 0));
    int32_t setting = 42;
    EXPECT_FALSE(readSettingsFile(path, setting, map)) << size << " bytes";
    EXPECT_EQ(setting, 42);
    EXPECT_TRUE(std::equal(map, map + controllerCount, before)) << size << " bytes";
  }
}

TEST_F(ControllerSettingsTest, LongerFileUsesItsFirst129Bytes) {
  Bytes file(200, 4);
  writeBytes(file);
  ASSERT_TRUE(readSettingsFile(path, settingByte, map));
  EXPECT_EQ(settingByte, 4);
  EXPECT_EQ(map[127], 4);
}

TEST_F(ControllerSettingsTest, UnwritableFolderFailsQuietly) {
  EXPECT_FALSE(writeSettingsFile(folder + "no such folder\\zintara.cfg", 1, map));
}

}  // namespace
