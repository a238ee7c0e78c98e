#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "host/drivers/SampleConversion.h"
#include "host/drivers/asio/AsioSampleFormat.h"
#include "host/drivers/tests/LogCapture.h"

using namespace Ombix::Kelvane;

namespace {
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
}  // namespace

TEST(SampleConversion, ClipsAndSilencesNonNumbers) {
  const float cases[][2] = {{0.25f, 0.25f},   {1.2f, 1.0f},      {-7.0f, -1.0f},      {notANumber, 0.0f},
                            {infinity, 0.0f}, {-infinity, 0.0f}, {-notANumber, 0.0f}, {1.0f, 1.0f}};
  for (const auto& c : cases) EXPECT_EQ(ClipSample(c[0]), c[1]) << c[0];
}

TEST(SampleConversion, ScalesLikeTheDevicesExpect) {
  EXPECT_EQ(ToInt16Double(1.5f), 32767);
  EXPECT_EQ(ToInt16Double(-0.5f), -16383);
  EXPECT_EQ(ToInt16Single(1.2f), 32767);
  EXPECT_EQ(ToInt16Single(-1.0f), -32767);
  EXPECT_EQ(ToInt16Single(notANumber), 0);
  EXPECT_EQ(ToInt32(1.0f), 2147483647);
  EXPECT_EQ(ToInt32(-infinity), 0);
  EXPECT_EQ(FromInt16(-32768), -1.0f);
  EXPECT_EQ(FromInt32(std::numeric_limits<std::int32_t>::min()), -1.0f);
}

TEST(SampleConversion, InterleavesStereoLeftFirst) {
  const float left[] = {0.5f, 1.2f, notANumber};
  const float right[] = {-1.0f, 0.0f, -0.25f};
  std::int16_t out[6] = {};
  InterleaveStereo16(left, right, 3, out);
  const std::int16_t expected[] = {16383, -32767, 32767, 0, 0, -8191};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(out[i], expected[i]) << i;
}

TEST(AsioSampleFormat, BytesPerSampleOfEveryType) {
  const int cases[][2] = {{0, 2},  {16, 2}, {1, 3},  {17, 3}, {2, 4},  {3, 4}, {8, 4},  {11, 4}, {18, 4},
                          {19, 4}, {24, 4}, {27, 4}, {4, 8},  {20, 8}, {5, 1}, {32, 1}, {99, 1}};
  for (const auto& c : cases) EXPECT_EQ(BytesPerSample(c[0]), c[1]) << c[0];
}

TEST(AsioSampleFormat, ConvertsLittleEndianIntegerBlocks) {
  LogCapture log;
  std::int16_t device16[3] = {};
  float floats[3] = {1.5f, -0.5f, notANumber};
  ChooseConverter(16, false)(3, device16, floats);
  EXPECT_EQ(device16[0], 32767);
  EXPECT_EQ(device16[1], -16383);
  EXPECT_EQ(device16[2], 0);
  std::int32_t device32[2] = {1 << 30, -(1 << 30)};
  ChooseConverter(18, true)(2, device32, floats);
  EXPECT_EQ(floats[0], 0.5f);
  EXPECT_EQ(floats[1], -0.5f);
  EXPECT_EQ(log.Text(), "");
}

TEST(AsioSampleFormat, OtherTypesConvertNothingAndSaySo) {
  LogCapture log;
  float floats[2] = {0.5f, 0.5f};
  std::int32_t device[2] = {7, 7};
  ChooseConverter(19, false)(2, device, floats);
  ChooseConverter(40, true)(2, device, floats);
  ChooseConverter(5, true)(2, device, floats);
  EXPECT_EQ(device[0], 7);
  EXPECT_EQ(floats[0], 0.5f);
  EXPECT_EQ(log.Text(),
            "ASIO converter 'ASIOSTFloat32LSB' not available!\n"
            "ASIO converter 'ASIOSTDSDInt8NER8' not available!\n"
            "ASIO converter {5} not available!\n");
}
